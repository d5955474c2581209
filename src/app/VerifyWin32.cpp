#include "app/VerifyWin32.h"

#include <string>
#include <vector>

#include "app/ConsoleWin32.h"
#include "app/Verify.h"
#include "base/File.h"
#include "lut/AdvancedColourWin32.h"

int RunVerifyToConsole(const LaunchArguments& arguments)
{
    const VerifyOutcome unreadable{VerifyOutcome::Result::NotLoaded, {}, {}, std::nullopt, {}};
    try {
        const VerifyOutcome outcome = RunVerify(arguments);
        std::vector<std::string> lines{FormatVerifyLine(arguments, outcome)};
        // With HDR on, Windows leaves the effect of a display's ramp undefined, so even
        // an answer that it holds says little.
        if (outcome.display && DisplayInHdrMode(*outcome.display))
            lines.push_back(FormatHdrLine(arguments));
        PrintLines(lines);
        return outcome.ExitStatus();
    } catch (const CFileException& error) {
        PrintLines({error.FileName() + " could not be read (error " + std::to_string(error.ErrorCode()) + ")"});
    }
    return unreadable.ExitStatus();
}
