// Feeds arbitrary bytes as a profile document to every profile data class: loading (with the
// repair), reading every section, writing every section back and saving must not crash, and what
// was saved must read back to the same records.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/JsonFile.h"
#include "profiles/Hs6533Profiledata.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"

using namespace dravik;

namespace {

#define CHECK(cond)           \
    do {                      \
        if (!(cond))          \
            __builtin_trap(); \
    } while (0)

// A folder in memory-backed storage: saving flushes every file, which a disk would make slow.
// libFuzzer ends the process without running exit handlers, so each run's folder is named after
// its process and folders of processes that are gone are removed at start.
const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        const std::string prefix = "dravik-profile-fuzz-" + std::to_string(::getuid()) + "-";
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0)
                continue;
            const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                std::filesystem::remove_all(entry.path(), ec);
        }
        std::filesystem::path p = base / (prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(p, ec);
        CHECK(std::filesystem::is_directory(p));
        const char* defaults = R"({"Device": [{"LightInfo": {"SelectItem": 1, "Red": 255},
            "KeyList": [{"Assignment": 1048832, "DefaultAssignment": 1048832}],
            "DPIStages": {"StageActive": 0, "StageDPIs": [{"StageActive": 1, "StageDPIX": 10}]}}]})";
        std::ofstream(p / "default.Json", std::ios::binary) << defaults;
        std::ofstream(p / "kelvo_light.config", std::ios::binary)
            << R"({"LightInfo": [[{"Guid": "a"}, {"Guid": "b"}]]})";
        return p;
    }();
    return folder;
}

void Place(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

struct CommonRecords {
    LightInfo light;
    AudioLightInfo audio;
    std::vector<LightListEntry> list;
    std::vector<KeyRecord> keys;
    bool operator==(const CommonRecords&) const = default;
};

CommonRecords ReadCommon(CBasicProfiledata& data) {
    CommonRecords r{data.ReadLightInfo(), data.ReadAudioLight(), data.ReadLightList(),
                    data.ReadKeyList()};
    data.LoadLightLibrary(WorkFolder() / "kelvo_light.config");
    data.ReadEffectFrames();
    return r;
}

void WriteCommon(CBasicProfiledata& data, const CommonRecords& r) {
    data.WriteLightInfo(r.light);
    if (r.audio != AudioLightInfo{})
        data.WriteAudioLight(r.audio);
    data.WriteKeyList(r.keys);
}

// Loads the profile into a fresh object of the class and checks the saved file round trip.
template <typename Data, typename ReadKind, typename WriteKind>
void Exercise(const std::filesystem::path& profile, ReadKind readKind, WriteKind writeKind) {
    Data data;
    data.SetDefaultPath(WorkFolder() / "default.Json");
    data.SetProfilePath(profile);
    data.LoadProfile(profile);
    CommonRecords common = ReadCommon(data);
    auto kind = readKind(data);
    WriteCommon(data, common);
    writeKind(data, kind);
    CHECK(data.Save());

    // The saved file is strict JSON and holds the document as it is in memory. (The writer
    // cannot keep every document exactly: invalid UTF-8 becomes U+FFFD and member names are cut
    // at a NUL. Such documents are compared as the writer renders them, and their records are not
    // compared, since two names may have merged.)
    Json::Value saved = platform::ReadJsonFile(profile);
    CHECK(saved.isObject());
    if (!(saved["Device"][0] == data.Document())) {
        const Json::Value rendered =
            platform::ParseJsonText(platform::FormatStyledJson(data.Document()));
        CHECK(!(rendered == data.Document()));  // only the writer may have changed it
        CHECK(saved["Device"][0] == rendered);
        return;
    }
    Data again;
    again.SetDefaultPath(WorkFolder() / "default.Json");
    again.LoadProfile(profile);
    CHECK(ReadCommon(again) == common);
    CHECK(readKind(again) == kind);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path profile = WorkFolder() / "profile.Json";
    Place(profile, data, size);
    // One class per input, picked by the input's bytes, keeps each run short.
    unsigned pick = 0;
    for (size_t i = 0; i < size; ++i)
        pick += data[i];

    switch (pick % 3) {
        case 0:
            Exercise<CMouseProfiledata>(
                profile,
                [](CMouseProfiledata& d) {
                    std::vector<DpiStage> stages = d.ReadDpiStages();
                    return std::make_tuple(stages, d.GetActiveStage(), d.ReadMouseSettings());
                },
                [](CMouseProfiledata& d, const auto& k) {
                    d.WriteDpiStages(std::get<0>(k));
                    d.WriteActiveStage(std::get<1>(k));
                    d.WriteMouseSettings(std::get<2>(k));
                });
            break;
        case 1:
            Exercise<CKeyboardProfiledata>(
                profile,
                [](CKeyboardProfiledata& d) {
                    int group = d.ReadCustomGroupIndex();
                    std::vector<CustomColor> colors = d.ReadCustomColors(d.Light().customGroup, 8);
                    return std::make_tuple(d.ReadKeyboardSettings(), group, colors);
                },
                [](CKeyboardProfiledata& d, const auto& k) {
                    d.WriteKeyboardSettings(std::get<0>(k));
                    d.WriteCustomGroupIndex(std::get<1>(k));
                    d.WriteCustomColors(std::get<2>(k), d.Light().customGroup);
                });
            break;
        default:
            Exercise<CHs6533Profiledata>(
                profile,
                [](CHs6533Profiledata& d) {
                    HeadsetSystemSettings s = d.ReadHeadsetSettings();
                    return std::make_tuple(s, d.ReadEqCurve(s.eqType), d.ReadCustomEqNames(),
                                           d.ReadCustomEqCurve(s.customEqSelectIndex));
                },
                [](CHs6533Profiledata& d, const auto& k) {
                    const HeadsetSystemSettings& s = std::get<0>(k);
                    d.WriteHeadsetSettings(s);
                    d.WriteEqCurve(s.eqType, std::get<1>(k));
                    d.WriteCustomEqNames(std::get<2>(k));
                    d.WriteCustomEqCurve(s.customEqSelectIndex, std::get<3>(k));
                });
            break;
    }
    return 0;
}
