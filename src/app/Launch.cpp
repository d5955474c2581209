#include "app/Launch.h"

LaunchAction ClassifyLaunch(const LaunchArguments& arguments)
{
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
