#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>

namespace orlixctl {

class Context;

// A change to the configuration; returns kOk when it was made, else an exit code after
// telling the user why (and then nothing is written).
using ConfigurationChange = std::function<int(Context& ctx, std::ostream& err)>;

// The read-modify-write of the commands that change settings (`set`, `macro`): the mouse is
// read as the window reads it, the change is made on the configuration the window would show,
// the configuration as read is kept in the backup folder, and the result is written as Apply
// writes it. With --file F a profile file is loaded instead, changed, and saved over itself
// atomically (its macros are carried as they are). `what` names the change in the one line
// reported on success ("resolution levels").
int editConfiguration(Context& ctx, std::ostream& out, std::ostream& err, std::string_view what,
                      const ConfigurationChange& change);

} // namespace orlixctl
