#pragma once

#include <string_view>

#include "processing/ProgressIndicator.h"

namespace kelvane {

// What a batch run reports to: the current step through ProgressIndicator (SetText names the
// step, SetPos is the step's percentage), plus the file being worked on, the overall position
// (0 to 100) and the running log. The batch progress window and the command line implement it.
class BatchMonitor : public ProgressIndicator {
  public:
    virtual void SetFileText(std::string_view text) = 0;
    virtual void SetOverallPos(int position) = 0;
    // Appends a message to the log as it stands; messages carry their own line ends.
    virtual void AppendLog(std::string_view text) = 0;
};

}  // namespace kelvane
