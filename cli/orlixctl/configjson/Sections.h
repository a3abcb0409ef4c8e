#pragma once

// The sections of the configuration file, each written and read by one pair of functions
// beside each other. A writer turns the profile's bytes into its section; a reader rebuilds
// those bytes from it and throws a Fault at the first field it cannot take.

#include "ConfigJson.h"
#include "JsonFields.h"

#include "model/AssignmentCodes.h"
#include "model/MacroStore.h"
#include "model/ParameterImage.h"

#include <vector>

namespace orlix::configjson {

// The profile being written out or rebuilt, and what its names come from.
struct Profile {
    explicit Profile(const ConfigJsonContext& c) : context(c) {}
    const ConfigJsonContext& context;
    ImageBytes img{};
    MacroStore store;
    MiddleLayout layout{}; // the data type's, known once the identity is read
};

// format, version, edition, dataType, vendorId, productId, identityCode. The reader checks
// format to data type first, before the rest of the file is looked at, and takes the ids
// after.
void writeIdentity(const Profile& p, Json& j);
void readIdentity(const Json& j, Profile& p);
void readDeviceIds(const Json& j, Profile& p);

// resolution: the levels by value, the current level, the report rate.
Json writeResolution(const Profile& p);
void readResolution(const Json& r, const std::string& path, Profile& p);

// lighting: the flags, mode, breathing steps and both colours.
Json writeLighting(const Profile& p);
void readLighting(const Json& l, const std::string& path, Profile& p);

// fireKeys: repeat and delay of each key, or its raw bytes.
Json writeFireKeys(const Profile& p);
void readFireKeys(const Json& f, const std::string& path, Profile& p);
// The settings the keys' bytes hold, for naming fire-key codes.
FireKeySettings fireKeySettingsOf(const ImageBytes& img);

// activeProfile, fireModeGroup and the profiles' button codes. The codes are read after the
// macros, whose names they may show.
Json writeActiveProfile(const Profile& p);
void readActiveProfile(const Json& a, const std::string& path, Profile& p);
std::vector<int> writeFireModeGroup(const Profile& p);
Json writeProfiles(const Profile& p);
void readProfiles(const Json& pr, const std::string& path, const Json& group, Profile& p);

// macros: the 32 macros by their script lines, or as raw bytes where the lines cannot
// rebuild them exactly.
Json writeMacros(const Profile& p);
void readMacros(const Json& m, const std::string& path, Profile& p);

// reserved: the bytes without a meaning of their own.
Json writeReserved(const Profile& p);
void readReserved(const Json& r, const std::string& path, Profile& p);

// damagedChecksums: present only where a stored checksum is wrong. The reader seals every
// section and then puts back the damaged ones given.
std::optional<Json> writeDamagedChecksums(const Profile& p);
void sealSections(Profile& p);
void readDamagedChecksums(const Json& d, const std::string& path, Profile& p);

} // namespace orlix::configjson
