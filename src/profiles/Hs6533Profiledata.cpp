#include "profiles/Hs6533Profiledata.h"

#include "profiles/JsonFields.h"

namespace dravik {

using doc::ArrayElement;
using doc::Int32Of;
using doc::IntValue;
using doc::Member;
using doc::ObjectMember;

namespace {

// Index of the preset curve an equaliser type uses; -1 for the custom type.
int PresetIndex(int eqType) {
    if (eqType == CHs6533Profiledata::kCustomEqType)
        return -1;
    if (eqType <= 0 || eqType > CHs6533Profiledata::kCustomEqType)
        return 1;
    return eqType;
}

// Reads ten bands from element `index` of a curve table; when the table or the element is
// missing, ten zero bands are written there first.
std::vector<int> ReadCurve(Json::Value& table, int index) {
    std::vector<int> values(CHs6533Profiledata::kEqBands, 0);
    const Json::Value& curve = doc::Element(table, index);
    if (!curve.isArray()) {
        Json::Value& created = ArrayElement(table, static_cast<Json::ArrayIndex>(index));
        created = Json::Value(Json::arrayValue);
        for (int i = 0; i < CHs6533Profiledata::kEqBands; ++i)
            ObjectMember(created.append(Json::Value()), "value") = IntValue(0);
        return values;
    }
    for (int i = 0; i < CHs6533Profiledata::kEqBands; ++i)
        values[static_cast<size_t>(i)] = Int32Of(Member(doc::Element(curve, i), "value"));
    return values;
}

void WriteCurve(Json::Value& table, int index, const std::vector<int>& values) {
    Json::Value& curve = ArrayElement(table, static_cast<Json::ArrayIndex>(index));
    for (size_t i = 0; i < values.size() && i < static_cast<size_t>(CHs6533Profiledata::kEqBands);
         ++i)
        ObjectMember(ArrayElement(curve, static_cast<Json::ArrayIndex>(i)), "value") =
            IntValue(values[i]);
}

}  // namespace

HeadsetSystemSettings CHs6533Profiledata::ReadHeadsetSettings() {
    const Json::Value& section = Member(Document(), "SystemSetStages");
    HeadsetSystemSettings s;
    s.magicEnable = Int32Of(Member(section, "MagicEnable"));
    s.magicType = Int32Of(Member(section, "MagicType"));
    s.eqType = Int32Of(Member(section, "EqType"));
    s.customEqSelectIndex = Int32Of(Member(section, "CustomEqSeletIndex"));
    s.micInSelect = Int32Of(Member(section, "MicInSelect"));
    s.micInValue = Int32Of(Member(section, "MicInValue"));
    s.micMonitorSelect = Int32Of(Member(section, "MicMoniterSelect"));
    s.micMonitorValue = Int32Of(Member(section, "MicMoniterValue"));
    settings_ = s;
    return settings_;
}

void CHs6533Profiledata::WriteHeadsetSettings(const HeadsetSystemSettings& s) {
    settings_ = s;
    Json::Value& section = ObjectMember(MutableDocument(), "SystemSetStages");
    ObjectMember(section, "MagicEnable") = IntValue(s.magicEnable);
    ObjectMember(section, "MagicType") = IntValue(s.magicType);
    ObjectMember(section, "EqType") = IntValue(s.eqType);
    ObjectMember(section, "CustomEqSeletIndex") = IntValue(s.customEqSelectIndex);
    ObjectMember(section, "MicInSelect") = IntValue(s.micInSelect);
    ObjectMember(section, "MicInValue") = IntValue(s.micInValue);
    ObjectMember(section, "MicMoniterSelect") = IntValue(s.micMonitorSelect);
    ObjectMember(section, "MicMoniterValue") = IntValue(s.micMonitorValue);
}

std::vector<int> CHs6533Profiledata::ReadEqCurve(int eqType) {
    int index = PresetIndex(eqType);
    if (index < 0)
        return {};
    return ReadCurve(ObjectMember(MutableDocument(), "EQHzValueInfo"), index);
}

void CHs6533Profiledata::WriteEqCurve(int eqType, const std::vector<int>& values) {
    int index = PresetIndex(eqType);
    if (index < 0)
        return;
    WriteCurve(ObjectMember(MutableDocument(), "EQHzValueInfo"), index, values);
}

std::vector<std::string> CHs6533Profiledata::ReadCustomEqNames() {
    std::vector<std::string> names;
    const Json::Value& list = Member(Document(), "CustomEQNameInfo");
    if (!list.isArray())
        return names;
    names.reserve(list.size());
    for (const Json::Value& entry : list)
        names.push_back(doc::TextOf(Member(entry, "Name")));
    return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::string>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::string& name : names)
        list.append(Json::Value(Json::objectValue))["Name"] = name;
    ObjectMember(MutableDocument(), "CustomEQNameInfo") = std::move(list);
}

std::vector<int> CHs6533Profiledata::ReadCustomEqCurve(int slot) {
    if (slot < 0 || slot >= kMaxCustomEqSlots)
        return std::vector<int>(kEqBands, 0);
    return ReadCurve(ObjectMember(MutableDocument(), "CustomEQHzValueInfo"), slot);
}

void CHs6533Profiledata::WriteCustomEqCurve(int slot, const std::vector<int>& values) {
    if (slot < 0 || slot >= kMaxCustomEqSlots)
        return;
    WriteCurve(ObjectMember(MutableDocument(), "CustomEQHzValueInfo"), slot, values);
}

}  // namespace dravik
