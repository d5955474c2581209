#include "app/VerifyWin32.h"

#include <string>

#include "app/ConsoleWin32.h"
#include "app/Verify.h"
#include "base/File.h"

int RunVerifyToConsole(const LaunchArguments& arguments)
{
    const VerifyOutcome unreadable{VerifyOutcome::Result::NotLoaded, {}, {}};
    try {
        const VerifyOutcome outcome = RunVerify(arguments);
        PrintLines({FormatVerifyLine(arguments, outcome)});
        return outcome.ExitStatus();
    } catch (const CFileException& error) {
        PrintLines({error.FileName() + " could not be read (error " + std::to_string(error.ErrorCode()) + ")"});
    }
    return unreadable.ExitStatus();
}
