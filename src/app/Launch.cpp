#include "app/Launch.h"

#include "res/Version.h"

LaunchAction ClassifyLaunch(const LaunchArguments& arguments)
{
    using Mode = LaunchArguments::Mode;
    if (!arguments.mistake.empty())
        return LaunchAction::Mistake;
    if (arguments.mode == Mode::Help)
        return LaunchAction::Help;
    if (arguments.mode == Mode::Version)
        return LaunchAction::Version;
    if (arguments.mode == Mode::Clear)
        return LaunchAction::Clear;
    if (arguments.mode == Mode::Save)
        return LaunchAction::Save;
    if (arguments.IsVerify())
        return LaunchAction::Verify;
    if (arguments.IsRelease())
        return LaunchAction::Release;
    if (arguments.IsList())
        return LaunchAction::List;
    if (arguments.IsStatus())
        return LaunchAction::Status;
    if (arguments.IsSilentApply())
        return arguments.keep ? LaunchAction::Keep : LaunchAction::SilentApply;
    return LaunchAction::NoSource;
}

std::vector<std::string> UsageLines()
{
    return {
        "usage: rampwise [/pt] SOURCE [DISPLAY] [/keep [/quiet]]",
        "       rampwise /verify SOURCE [DISPLAY]",
        "       rampwise /clear [DISPLAY]",
        "       rampwise /save FILE [DISPLAY]",
        "       rampwise /release [DISPLAY]",
        "       rampwise /list | /status | /help | /? | /version",
        "  /pt SOURCE [DISPLAY]      apply SOURCE to DISPLAY, check that it holds, and end",
        "  /keep                     after /pt: stay and keep the display's monitor on the ramp",
        "  /quiet                    after /keep: no notification icon (Windows; ignored on Linux)",
        "  /release [DISPLAY]        end the keeper of DISPLAY, or every keeper of yours",
        "  /verify SOURCE [DISPLAY]  tell whether DISPLAY holds SOURCE; writes nothing",
        "  /list                     one line per display",
        "  /status                   one line per running keeper",
        "  /clear [DISPLAY]          set the identity ramp",
        "  /save FILE [DISPLAY]      save the display's ramp: FILE.cal as a calibration file, else a LUT file",
        "  /help, /?                 this text",
        "  /version                  the program's version",
        "SOURCE: a LUT file (.lut), a calibration file (.cal), any other file as an ICC profile,",
        "        or @default, the colour profile of the display",
        "DISPLAY: a number from 0 (see /list), a monitor identity (DEL40F3 or DEL40F3:7XK2M13)",
        "         or a connector (DP-1, \\\\.\\DISPLAY2); 0 when absent",
        "Exit status: 0 done, 1 not done, 2 a command line not understood",
        "             (/verify: 0 holds, 1 differs, 2 the source or the display cannot be read)",
        "Without arguments the program opens its window on Windows and prints this text on Linux.",
    };
}

std::string VersionLine()
{
    return "rampwise " RAMPWISE_VERSION_TEXT;
}
