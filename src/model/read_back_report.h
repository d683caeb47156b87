#pragma once
// What the operator is told after an upload's read-back: the status line and, when something is
// to be said, the message. The differences come from compareWithImage.
#include "model/settings_comparison.h"

#include <string>
#include <vector>

namespace zx {

struct ReadBackReport {
    std::string status;  // the status bar's line
    std::string message; // a message to show; empty when all went well
};

// The unit kept what it was sent (no differences), or not, naming the settings that differ.
ReadBackReport readBackReport(const std::vector<SettingDifference>& differences);
// The read-back itself did not come about; `why` is the download's own message.
ReadBackReport readBackFailed(const std::string& why);

} // namespace zx
