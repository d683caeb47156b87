#pragma once
// How the rights cells of a code row change under the operator's hand: the double click, the
// popup's five commands and the rights a new row starts with. A 4-line row has four cells
// "Igen"/"Nem" (local, long-distance, mobile, international); a 16-line row one level letter.
#include "model/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace zx {

// The popup's commands; the value is the menu item's tag, the grid column it acts on in the
// 4-line model (2 local .. 5 international; 0 bars every right).
enum class RightsCommand { Barred = 0, Local = 2, LongDistance = 3, Mobile = 4, International = 5 };

// Rights of a row added with the Down arrow or filled by code generation: every right in the
// 4-line model; the barred level "T" in the 16-line model, which is what the unit gets for such
// a row, so the grid shows at once what is stored.
std::vector<std::string> newRowRights(DeviceModel model);

// A double click on a rights cell. 4-line: a cell beginning with "I" becomes "Nem", any other
// "Igen". 16-line: an empty cell becomes "T", the letters step T, H, B, M, N and round to T;
// a cell beginning with any other letter is left as it is.
std::string steppedRight(std::string_view cell, DeviceModel model);

// The popup's toggle: a cell reading exactly "Igen" becomes "Nem", any other "Igen".
std::string toggledRight(std::string_view cell);

// One popup command on one row's rights (4 cells or 1, grown to that size when short).
// 4-line: toggles the command's cell, or sets all four to "Nem" for Barred. 16-line: sets the
// level letter of the command (N, M, B, H, T).
void applyRightsCommand(std::vector<std::string>& rights, RightsCommand command, DeviceModel model);

} // namespace zx
