#include "profiles/MouseProfiledata.h"

#include "profiles/JsonFields.h"

namespace dravik {

using doc::ArrayElement;
using doc::ByteOf;
using doc::IntValue;
using doc::Member;
using doc::ObjectMember;
using doc::WordOf;

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages() {
    const Json::Value& section = Member(Document(), "DPIStages");
    if (section.isObject()) {
        activeStage_ = doc::Int32Of(Member(section, "StageActive"));
        const Json::Value& list = Member(section, "StageDPIs");
        if (list.isArray()) {
            for (Json::ArrayIndex j = 0; j < list.size(); ++j) {
                const Json::Value& element = list[j];
                DpiStage stage;
                stage.enabled = ByteOf(Member(element, "StageActive"));
                stage.xy = ByteOf(Member(element, "StageXY"));
                stage.dpiX = WordOf(Member(element, "StageDPIX"));
                stage.dpiY = WordOf(Member(element, "StageDPIY"));
                stage.red = ByteOf(Member(element, "StageColorR"));
                stage.green = ByteOf(Member(element, "StageColorG"));
                stage.blue = ByteOf(Member(element, "StageColorB"));
                if (j < stages_.size())
                    stages_[j] = stage;
                else
                    stages_.push_back(stage);
            }
        }
    }
    return stages_;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages) {
    stages_ = stages;
    if (stages_.empty())
        return;
    Json::Value& list = ObjectMember(ObjectMember(MutableDocument(), "DPIStages"), "StageDPIs");
    for (size_t i = 0; i < stages_.size(); ++i) {
        const DpiStage& stage = stages_[i];
        Json::Value& element = ArrayElement(list, static_cast<Json::ArrayIndex>(i));
        ObjectMember(element, "StageActive") = IntValue(stage.enabled);
        ObjectMember(element, "StageXY") = IntValue(stage.xy);
        ObjectMember(element, "StageDPIX") = IntValue(stage.dpiX);
        ObjectMember(element, "StageDPIY") = IntValue(stage.dpiY);
        ObjectMember(element, "StageColorR") = IntValue(stage.red);
        ObjectMember(element, "StageColorG") = IntValue(stage.green);
        ObjectMember(element, "StageColorB") = IntValue(stage.blue);
    }
}

void CMouseProfiledata::WriteActiveStage(int stage) {
    activeStage_ = stage;
    ObjectMember(ObjectMember(MutableDocument(), "DPIStages"), "StageActive") = IntValue(stage);
}

MouseSystemSettings CMouseProfiledata::ReadMouseSettings() {
    MouseSystemSettings s;
    const Json::Value& system = Member(Document(), "SystemStages");
    if (!system.isNull()) {
        s.doubleClickTime = WordOf(Member(system, "DoubleClickTime"));
        s.mouseSpeed = WordOf(Member(system, "MouseSpeed"));
        s.pointerPrecision = WordOf(Member(system, "PointerPrecision"));
        s.scrollPage = WordOf(Member(system, "ScorllPage"));
        s.wheelScrollLines = WordOf(Member(system, "WheelScorlllinse"));
        const Json::Value& report = Member(Document(), "ReportStages");
        s.pollingRate = WordOf(Member(report, "StageActive"));
        s.silentAltitude = WordOf(Member(report, "SilentAltitude"));
        s.linearCalibration = WordOf(Member(report, "Linear_Calibration"));
        s.ripple = WordOf(Member(report, "Ripple"));
        s.bleSleep1 = WordOf(Member(report, "ble_sleep1"));
        s.bleSleep2 = WordOf(Member(report, "ble_sleep2"));
        s.deviceSleep1 = WordOf(Member(report, "device_sleep1"));
        s.deviceSleep2 = WordOf(Member(report, "device_sleep2"));
        s.keyDebounceTime = WordOf(Member(report, "key_debounce_time"));
    }
    settings_ = s;
    return settings_;
}

void CMouseProfiledata::WriteMouseSettings(const MouseSystemSettings& s) {
    settings_ = s;
    Json::Value& system = ObjectMember(MutableDocument(), "SystemStages");
    ObjectMember(system, "DoubleClickTime") = IntValue(s.doubleClickTime);
    ObjectMember(system, "MouseSpeed") = IntValue(s.mouseSpeed);
    ObjectMember(system, "PointerPrecision") = IntValue(s.pointerPrecision);
    ObjectMember(system, "ScorllPage") = IntValue(s.scrollPage);
    ObjectMember(system, "WheelScorlllinse") = IntValue(s.wheelScrollLines);
    Json::Value& report = ObjectMember(MutableDocument(), "ReportStages");
    ObjectMember(report, "StageActive") = IntValue(s.pollingRate);
    ObjectMember(report, "SilentAltitude") = IntValue(s.silentAltitude);
    ObjectMember(report, "Linear_Calibration") = IntValue(s.linearCalibration);
    ObjectMember(report, "Ripple") = IntValue(s.ripple);
    ObjectMember(report, "ble_sleep1") = IntValue(s.bleSleep1);
    ObjectMember(report, "ble_sleep2") = IntValue(s.bleSleep2);
    ObjectMember(report, "device_sleep1") = IntValue(s.deviceSleep1);
    ObjectMember(report, "device_sleep2") = IntValue(s.deviceSleep2);
    ObjectMember(report, "key_debounce_time") = IntValue(s.keyDebounceTime);
}

}  // namespace dravik
