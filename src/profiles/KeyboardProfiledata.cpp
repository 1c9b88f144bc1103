#include "profiles/KeyboardProfiledata.h"

#include "profiles/JsonFields.h"

namespace dravik {

using doc::ArrayElement;
using doc::ByteOf;
using doc::IntValue;
using doc::Member;
using doc::ObjectMember;
using doc::WordOf;

namespace {

// Sets the four members of a colour entry (other members of the entry stay).
void PutColor(Json::Value& entry, const CustomColor& c) {
    ObjectMember(entry, "Red") = IntValue(c.red);
    ObjectMember(entry, "Green") = IntValue(c.green);
    ObjectMember(entry, "Blue") = IntValue(c.blue);
    ObjectMember(entry, "Alpha") = IntValue(c.alpha);
}

}  // namespace

KeyboardSystemSettings CKeyboardProfiledata::ReadKeyboardSettings() {
    const Json::Value& section = Member(Document(), "SystemStages");
    KeyboardSystemSettings s;
    s.repeat = WordOf(Member(section, "Repeat"));
    s.repeatDelay = WordOf(Member(section, "RepeatDelay"));
    s.key6Flag = WordOf(Member(section, "Key6Flag"));
    s.pollingRate = WordOf(Member(section, "PollingRate"));
    s.wFlag = WordOf(Member(section, "WFlag"));
    s.winFlag = WordOf(Member(section, "WinFlag"));
    settings_ = s;
    return settings_;
}

void CKeyboardProfiledata::WriteKeyboardSettings(const KeyboardSystemSettings& s) {
    settings_ = s;
    Json::Value& section = ObjectMember(MutableDocument(), "SystemStages");
    ObjectMember(section, "Repeat") = IntValue(s.repeat);
    ObjectMember(section, "RepeatDelay") = IntValue(s.repeatDelay);
    ObjectMember(section, "Key6Flag") = IntValue(s.key6Flag);
    ObjectMember(section, "PollingRate") = IntValue(s.pollingRate);
    ObjectMember(section, "WFlag") = IntValue(s.wFlag);
    ObjectMember(section, "WinFlag") = IntValue(s.winFlag);
}

std::vector<CustomColor> CKeyboardProfiledata::ReadCustomColors(int group, int count) {
    std::vector<CustomColor> colors;
    if (group < 0 || group >= kMaxCustomGroups || count < 0 || count > kMaxCustomColors) {
        customColors_ = colors;
        return colors;
    }
    colors.resize(static_cast<size_t>(count));
    Json::Value& info =
        ObjectMember(ObjectMember(MutableDocument(), "CustomLightMode"), "LightColorInfo");
    Json::Value& list = ArrayElement(info, static_cast<Json::ArrayIndex>(group));
    if (!list.isArray()) {
        // A missing group: count zero colours.
        list = Json::Value(Json::arrayValue);
        for (int j = 0; j < count; ++j)
            PutColor(list.append(Json::Value()), CustomColor{});
    } else {
        for (int j = 0; j < count; ++j) {
            Json::Value& entry = ArrayElement(list, static_cast<Json::ArrayIndex>(j));
            if (!entry.isObject()) {
                PutColor(entry, CustomColor{});
                continue;
            }
            CustomColor& c = colors[static_cast<size_t>(j)];
            c.red = ByteOf(Member(entry, "Red"));
            c.green = ByteOf(Member(entry, "Green"));
            c.blue = ByteOf(Member(entry, "Blue"));
            c.alpha = ByteOf(Member(entry, "Alpha"));
        }
    }
    customColors_ = colors;
    return colors;
}

void CKeyboardProfiledata::WriteCustomColors(const std::vector<CustomColor>& colors, int group) {
    customColors_ = colors;
    if (group < 0 || group >= kMaxCustomGroups ||
        colors.size() > static_cast<size_t>(kMaxCustomColors))
        return;
    Json::Value& info =
        ObjectMember(ObjectMember(MutableDocument(), "CustomLightMode"), "LightColorInfo");
    Json::Value& list = ArrayElement(info, static_cast<Json::ArrayIndex>(group));
    for (size_t j = 0; j < colors.size(); ++j)
        PutColor(ArrayElement(list, static_cast<Json::ArrayIndex>(j)), colors[j]);
}

int CKeyboardProfiledata::ReadCustomGroupIndex() {
    customGroupIndex_ =
        doc::Int32Of(Member(Member(Document(), "CustomLightMode"), "CustomLightModeGroupIndex"));
    return customGroupIndex_;
}

void CKeyboardProfiledata::WriteCustomGroupIndex(int index) {
    customGroupIndex_ = index;
    ObjectMember(ObjectMember(MutableDocument(), "CustomLightMode"), "CustomLightModeGroupIndex") =
        IntValue(index);
}

}  // namespace dravik
