#include "profiles/BasicProfiledata.h"

#include "platform/JsonFile.h"
#include "platform/Trace.h"
#include "profiles/JsonFields.h"
#include "profiles/ProfileFiles.h"

namespace dravik {

using doc::ArrayElement;
using doc::ByteOf;
using doc::Element;
using doc::FlagOf;
using doc::FlagValue;
using doc::IntValue;
using doc::Member;
using doc::ObjectMember;

namespace {

// "Device"[0] of a root when it is an object, else null.
Json::Value DeviceEntryOf(const Json::Value& root) {
    const Json::Value& entry = Element(Member(root, "Device"), 0);
    return entry.isObject() ? entry : Json::Value();
}

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    return a.lexically_normal() == b.lexically_normal();
}

std::vector<KeyRecord> KeyListOf(const Json::Value& document) {
    std::vector<KeyRecord> keys;
    const Json::Value& list = Member(document, "KeyList");
    if (!list.isArray())
        return keys;
    keys.reserve(list.size());
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& entry = list[i];
        KeyRecord record;
        record.current.keyIndex = record.factory.keyIndex = static_cast<uint16_t>(i);
        record.current.SetFunction(
            KeyFunctionFromProfileValue(doc::IntegerOf(Member(entry, "Assignment")).value_or(0)));
        record.factory.SetFunction(KeyFunctionFromProfileValue(
            doc::IntegerOf(Member(entry, "DefaultAssignment")).value_or(0)));
        keys.push_back(record);
    }
    return keys;
}

// Only "Assignment" is written; "DefaultAssignment" and elements beyond the records stay as read.
void PutKeyList(Json::Value& document, const std::vector<KeyRecord>& keys) {
    if (keys.empty())
        return;
    Json::Value& list = ObjectMember(document, "KeyList");
    for (size_t i = 0; i < keys.size(); ++i) {
        Json::Value& entry = ArrayElement(list, static_cast<Json::ArrayIndex>(i));
        ObjectMember(entry, "Assignment") = IntValue(ToProfileValue(keys[i].current.Function()));
    }
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::filesystem::path& path) {
    if (!path.empty())
        profilePath_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::filesystem::path& path) {
    if (!path.empty())
        defaultPath_ = path;
}

bool CBasicProfiledata::Save() {
    return SaveDeviceEntry(document_, profilePath_);
}

bool CBasicProfiledata::SaveDeviceEntry(const Json::Value& value,
                                        const std::filesystem::path& path) {
    if (path.empty())
        return false;
    Json::Value root = ReadProfileDocument(path);
    if (!root.isObject())
        root = Json::Value(Json::objectValue);
    ArrayElement(ObjectMember(root, "Device"), 0) = value;
    return WriteDocument(root, path);
}

bool CBasicProfiledata::SaveScratch(const std::filesystem::path& path) {
    return SaveDeviceEntry(scratch_, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& value, const std::filesystem::path& path) {
    if (path.empty())
        return false;
    bool written = platform::WriteJsonFile(path, value);
    if (!written)
        platform::Trace("profile not written: %s\n", path.string().c_str());
    return written;
}

Json::Value CBasicProfiledata::LoadDeviceEntry(const std::filesystem::path& path) {
    Json::Value root = ReadProfileDocument(path);
    Json::Value entry = DeviceEntryOf(root);
    if (!entry.isNull())
        return entry;

    // Repair: the kind's default entry replaces the missing one, in memory and in the file.
    entry = DeviceEntryOf(ReadProfileDocument(defaultPath_));
    if (path.empty() || SamePath(path, defaultPath_))
        return entry;
    if (!root.isObject())
        root = Json::Value(Json::objectValue);
    ArrayElement(ObjectMember(root, "Device"), 0) = entry;
    platform::Trace("profile repaired from the default document: %s\n", path.string().c_str());
    WriteDocument(root, path);
    return entry;
}

Json::Value CBasicProfiledata::LoadProfile(const std::filesystem::path& path) {
    document_ = LoadDeviceEntry(path);
    return document_;
}

Json::Value CBasicProfiledata::LoadScratch(const std::filesystem::path& path) {
    scratch_ = LoadDeviceEntry(path);
    return scratch_;
}

Json::Value CBasicProfiledata::LoadLightLibrary(const std::filesystem::path& path) {
    lightLibrary_ = ReadProfileDocument(path);
    loadedLibraryPath_ = path;
    return lightLibrary_;
}

LightInfo CBasicProfiledata::ReadLightInfo() {
    const Json::Value& section = Member(document_, "LightInfo");
    if (!section.isObject()) {
        light_ = defaultLight_;
        return light_;
    }
    LightInfo info;
    info.selectItem = ByteOf(Member(section, "SelectItem"));
    info.light = ByteOf(Member(section, "Light"));
    info.speed = ByteOf(Member(section, "Speed"));
    info.fx = ByteOf(Member(section, "Fx"));
    info.multiColor = FlagOf(Member(section, "MultiColor")) ? 1 : 0;
    info.red = ByteOf(Member(section, "Red"));
    info.green = ByteOf(Member(section, "Green"));
    info.blue = ByteOf(Member(section, "Blue"));
    info.zzccLedMode = ByteOf(Member(section, "ZZCCLedMode"));
    info.customGroup = ByteOf(Member(section, "CustomGroup"));
    info.oldLedMode = ByteOf(Member(section, "OldLedmode"));
    light_ = info;
    return light_;
}

void CBasicProfiledata::WriteLightInfo(const LightInfo& info) {
    light_ = info;
    Json::Value& section = ObjectMember(document_, "LightInfo");
    ObjectMember(section, "SelectItem") = IntValue(info.selectItem);
    ObjectMember(section, "Light") = IntValue(info.light);
    ObjectMember(section, "Speed") = IntValue(info.speed);
    ObjectMember(section, "Fx") = IntValue(info.fx);
    ObjectMember(section, "MultiColor") = FlagValue(info.multiColor != 0);
    ObjectMember(section, "Red") = IntValue(info.red);
    ObjectMember(section, "Green") = IntValue(info.green);
    ObjectMember(section, "Blue") = IntValue(info.blue);
    ObjectMember(section, "ZZCCLedMode") = IntValue(info.zzccLedMode);
    ObjectMember(section, "CustomGroup") = IntValue(info.customGroup);
    ObjectMember(section, "OldLedmode") = IntValue(info.oldLedMode);
}

AudioLightInfo CBasicProfiledata::ReadAudioLight() {
    const Json::Value& section = Member(document_, "AudioLightInfo");
    AudioLightInfo info;
    if (section.isObject()) {
        info.audioMode = ByteOf(Member(section, "AudioMode"));
        info.bkRed = ByteOf(Member(section, "BkColorR"));
        info.bkGreen = ByteOf(Member(section, "BkColorG"));
        info.bkBlue = ByteOf(Member(section, "BkColorB"));
        info.fgRed = ByteOf(Member(section, "FgColorR"));
        info.fgGreen = ByteOf(Member(section, "FgColorG"));
        info.fgBlue = ByteOf(Member(section, "FgColorB"));
        info.sevenColor = FlagOf(Member(section, "7ColorFlags")) ? 1 : 0;
        info.colorType = 1;  // a stored section always starts on the foreground colour
    }
    audioLight_ = info;
    return audioLight_;
}

void CBasicProfiledata::WriteAudioLight(const AudioLightInfo& info) {
    audioLight_ = info;
    Json::Value& section = ObjectMember(document_, "AudioLightInfo");
    ObjectMember(section, "AudioMode") = IntValue(info.audioMode);
    ObjectMember(section, "BkColorR") = IntValue(info.bkRed);
    ObjectMember(section, "BkColorG") = IntValue(info.bkGreen);
    ObjectMember(section, "BkColorB") = IntValue(info.bkBlue);
    ObjectMember(section, "FgColorR") = IntValue(info.fgRed);
    ObjectMember(section, "FgColorG") = IntValue(info.fgGreen);
    ObjectMember(section, "FgColorB") = IntValue(info.fgBlue);
    ObjectMember(section, "7ColorFlags") = FlagValue(info.sevenColor != 0);
    ObjectMember(section, "ColorTypeFlags") = IntValue(info.colorType);
}

std::vector<LightListEntry> CBasicProfiledata::ReadLightList() {
    std::vector<LightListEntry> list;
    const Json::Value& section = Member(document_, "LightList");
    if (section.isArray()) {
        list.reserve(section.size());
        for (const Json::Value& element : section) {
            LightListEntry entry;
            if (element.isObject()) {
                entry.mode = ByteOf(Member(element, "LEDREGMode"));
                entry.brightness = ByteOf(Member(element, "LEDBrightness"));
                entry.speed = ByteOf(Member(element, "LEDSpeed"));
                entry.direction = FlagOf(Member(element, "LEDDirection")) ? 1 : 0;
                entry.multiColor = FlagOf(Member(element, "LEDMultiColor")) ? 1 : 0;
                entry.red = ByteOf(Member(element, "red"));
                entry.green = ByteOf(Member(element, "green"));
                entry.blue = ByteOf(Member(element, "blue"));
                entry.present = 1;
            }
            list.push_back(entry);
        }
    }
    lightList_ = std::move(list);
    return lightList_;
}

std::vector<LightEffectFrame> CBasicProfiledata::ReadEffectFrames() {
    std::vector<LightEffectFrame> frames;
    if (!lightLibrary_.isNull()) {
        const Json::Value& light =
            Element(Element(Member(lightLibrary_, "LightInfo"), 0), light_.selectItem);
        std::filesystem::path file =
            LightEffectPath(loadedLibraryPath_, doc::TextOf(Member(light, "Guid")));
        const Json::Value list =
            file.empty() ? Json::Value() : Member(ReadProfileDocument(file), "LEDEffectList");
        if (list.isArray()) {
            frames.reserve(list.size());
            for (const Json::Value& element : list) {
                LightEffectFrame frame;
                frame.mode = ByteOf(Member(element, "LEDREGMode"));
                frame.direction = ByteOf(Member(element, "LEDDirection"));
                frame.brightness = ByteOf(Member(element, "LEDBrightness"));
                frame.speed = ByteOf(Member(element, "LEDSpeed"));
                frame.multiColor = ByteOf(Member(element, "LEDMultiColor"));
                frame.red = ByteOf(Member(element, "red"));
                frame.green = ByteOf(Member(element, "green"));
                frame.blue = ByteOf(Member(element, "blue"));
                frame.time = doc::UInt32Of(Member(element, "Time"));
                frame.cyle = doc::UInt32Of(Member(element, "Cyle"));
                frames.push_back(frame);
            }
        }
    }
    effectFrames_ = std::move(frames);
    return effectFrames_;
}

std::vector<KeyRecord> CBasicProfiledata::ReadKeyList() {
    keys_ = KeyListOf(document_);
    return keys_;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyRecord>& keys) {
    keys_ = keys;
    PutKeyList(document_, keys_);
}

std::vector<KeyRecord> CBasicProfiledata::ReadScratchKeyList() {
    scratchKeys_ = KeyListOf(scratch_);
    return scratchKeys_;
}

void CBasicProfiledata::WriteScratchKeyList(const std::vector<KeyRecord>& keys) {
    scratchKeys_ = keys;
    PutKeyList(scratch_, scratchKeys_);
}

}  // namespace dravik
