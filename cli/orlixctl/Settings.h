#pragma once

#include "ConfigurationEdit.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlixctl {

class Context;

// One setting of a `set` run: its words after the name and the options that follow them.
struct SettingArgs {
    std::string name;
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;

    std::optional<std::string> value(std::string_view option) const {
        auto it = options.find(option);
        if (it == options.end()) return std::nullopt;
        return it->second;
    }
};

// A setting whose values were checked, ready to be made on the configuration as read.
struct PreparedSetting {
    std::string what; // "report rate", for the line reported on success
    std::string key;  // two settings of one run with the same key would overwrite each other
    ConfigurationChange change;
};

// Each checks its values and fills `prepared`; kOk, else an exit code after saying why.
using PrepareSetting = int (*)(Context& ctx, const SettingArgs& args, std::ostream& err,
                               PreparedSetting& prepared);
int prepareCpi(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);
int prepareRate(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);
int prepareFireKey(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);
int prepareFireMode(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);
int prepareButton(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);
int prepareLighting(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p);

} // namespace orlixctl
