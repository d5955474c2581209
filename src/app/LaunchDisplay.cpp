#include "app/LaunchDisplay.h"

#include "lut/DisplayAccess.h"

DisplayChoice ChooseLaunchDisplay(const LaunchArguments& arguments)
{
    const DisplayName name = ReadDisplayName(arguments.displayParameter);
    if (name.kind == DisplayName::Kind::Number)
        return {name.number, {}};
    return ChooseDisplay(name, ListDisplays());
}
