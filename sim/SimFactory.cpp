#include "sim/SimFactory.h"

#include <algorithm>
#include <map>

#include "platform/JsonFile.h"

namespace dravik::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- Report descriptors -------------------------------------------------------------------

// The vendor command collection: usage page 0xFF1C, usage 0x92, report ID 4, 63 bytes each way.
Bytes VendorCollection() {
    return {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,
            0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
}

// Consumer control (0x000C/0x01): one 16-bit usage per report; the notification collection.
Bytes ConsumerCollection(uint8_t id) {
    return {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, id,   0x15, 0x00, 0x26, 0xFF, 0x03,
            0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};
}

// Mouse (0x0001/0x02): five buttons, 16-bit X and Y, a wheel.
Bytes MouseCollection(uint8_t id) {
    return {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, id,   0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
            0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
            0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x01,
            0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02, 0x81, 0x06, 0x09, 0x38, 0x15, 0x81,
            0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06, 0xC0, 0xC0};
}

// Keyboard (0x0001/0x06): modifiers, a reserved byte, six keys; LED output.
Bytes KeyboardCollection(uint8_t id) {
    return {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, id,   0x05, 0x07, 0x19, 0xE0, 0x29,
            0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01,
            0x75, 0x08, 0x81, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x95, 0x05, 0x75,
            0x01, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x05, 0x07, 0x19, 0x00,
            0x29, 0x65, 0x15, 0x00, 0x25, 0x65, 0x95, 0x06, 0x75, 0x08, 0x81, 0x00, 0xC0};
}

// System control (0x0001/0x80): power, sleep, wake.
Bytes SystemCollection(uint8_t id) {
    return {0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, id,   0x19, 0x81,
            0x29, 0x83, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x03,
            0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0xC0};
}

// The headset's one collection (0x000C/0x01): consumer input (report 1), the vendor command
// reports (report 4, 63 bytes each way) and the LED output reports (report 0xFF, 16 bytes).
Bytes HeadsetCollection() {
    return {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,                          // consumer application
            0x85, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A,  // report 1: one usage
            0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00,              //
            0x06, 0x1C, 0xFF, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,  // report 4: commands
            0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02,  //
            0x91, 0x02,                                                  //
            0x85, 0xFF, 0x95, 0x10, 0x09, 0x03, 0x91, 0x02,              // report 0xFF: LEDs
            0xC0};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// ---- Identities ---------------------------------------------------------------------------

SimIdentity MouseIdentity(bool receiver) {
    SimIdentity id;
    id.kind = receiver ? "mouse-receiver" : "mouse";
    id.vendorId = 0x320F;
    id.productId = receiver ? 0x226F : 0x226E;
    id.version = receiver ? 0x0105 : 0x0130;
    id.interfaces = {
        {0, Concat({MouseCollection(1), KeyboardCollection(2), ConsumerCollection(3)})},
        {1, Concat({KeyboardCollection(5), VendorCollection()})},
    };
    id.commandInterface = 1;  // mi_01 col02
    id.notifyInterface = 0;   // mi_00 col03
    id.notifyReportId = 3;
    id.receiver = receiver;
    return id;
}

// Keyboard and mouse pad share the layout: command mi_01 col04, notifications mi_00 col03.
SimIdentity KeyboardLayoutIdentity(const std::string& kind, uint16_t productId, uint16_t version,
                                   bool receiver) {
    SimIdentity id;
    id.kind = kind;
    id.vendorId = 0x320F;
    id.productId = productId;
    id.version = version;
    id.interfaces = {
        {0, Concat({KeyboardCollection(1), MouseCollection(2), ConsumerCollection(3)})},
        {1, Concat({SystemCollection(5), ConsumerCollection(6), KeyboardCollection(7),
                    VendorCollection()})},
    };
    id.commandInterface = 1;
    id.notifyInterface = 0;
    id.notifyReportId = 3;
    id.receiver = receiver;
    return id;
}

SimIdentity HeadsetIdentity() {
    SimIdentity id;
    id.kind = "headset";
    id.vendorId = 0x0C76;
    id.productId = 0x1630;
    id.version = 0x0100;
    id.interfaces = {{3, HeadsetCollection()}};
    id.commandInterface = 0;
    id.notifyInterface = 0;
    id.notifyReportId = 1;
    id.ledReports = true;
    return id;
}

// ---- Factory memory -----------------------------------------------------------------------

constexpr uint16_t kFirmwareVersion = 0x0130;

Bytes InfoBlock(uint8_t imageUnits, uint8_t macroUnits) {
    Bytes info(34, 0);
    info[0] = 0xAA;  // marker 0x55AA, little-endian
    info[1] = 0x55;
    info[2] = kFirmwareVersion & 0xFF;
    info[3] = kFirmwareVersion >> 8;
    info[5] = imageUnits;
    info[6] = macroUnits;
    info[7] = 4;  // block state: current
    return info;
}

void Put(Bytes& b, size_t at, std::initializer_list<uint8_t> values) {
    std::copy(values.begin(), values.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

std::shared_ptr<SimMemory> MouseMemory() {
    auto memory = std::make_shared<SimMemory>(std::map<Area, size_t>{{Area::Info, 34},
                                                                     {Area::Image, 512},
                                                                     {Area::Profile, 1024},
                                                                     {Area::Macro, 4096},
                                                                     {Area::Shoot, 4096},
                                                                     {Area::Power, 56}});
    Bytes info = InfoBlock(16, 32);  // 16 key slots (48-byte image); 32 x 128 macro bytes
    Put(info, 9, {0x04, 0x31});      // sensor 0x3104
    info[11] = 50;                   // DPI step
    Put(info, 12, {114, 0});         // highest DPI code (104 = 8000 DPI) + 10
    Put(info, 14, {100, 0});         // DPI base
    memory->Set(Area::Info, info);

    // Key image: the eleven keys' factory functions in slots 0..10, five empty slots.
    Bytes image = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x10,
                   0x00, 0x10, 0x08, 0x00, 0x13, 0x01, 0x00, 0x13, 0x02, 0x00, 0x13,
                   0x03, 0x00, 0xA0, 0x1B, 0x00, 0x16, 0x90, 0x01, 0x14, 0x78, 0x02};
    memory->Set(Area::Image, image);

    // Five settings blocks, 128 bytes apart; byte 0 of block 0 is the active profile (0).
    Bytes profile(1024, 0);
    for (size_t p = 0; p < 5; ++p) {
        size_t b = p * 128;
        Put(profile, b + 1, {1, 4, 2, 0, 0, 0xFF, 0x00, 0x00});  // breathing, bright, speed 2, red
        profile[b + 11] = 3;                                     // polling-rate option
        profile[b + 12] = 1;                                     // active DPI stage
        // Stages: enabled, XY flag, X code, Y code (16-bit), colour. Codes of sensor 0x3104:
        // 1 = 400, 10 = 800, 26 = 1600, 56 = 3200, 88 = 6400, 104 = 8000, 18 = 1200 DPI.
        const uint8_t codes[7] = {1, 10, 26, 56, 88, 104, 18};
        const uint8_t colours[7][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},    {255, 255, 0},
                                       {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (size_t i = 0; i < 7; ++i) {
            size_t s = b + 14 + 9 * i;
            Put(profile, s,
                {uint8_t(i < 6 ? 1 : 0), 0, codes[i], 0, codes[i], 0, colours[i][0], colours[i][1],
                 colours[i][2]});
        }
        Put(profile, b + 77, {1, 10, 1, 10, 2, 0, 0, 0});  // sleep times, debounce, sensor options
    }
    memory->Set(Area::Profile, profile);
    memory->Set(Area::Power, {80, 0});  // 80 %, on battery
    return memory;
}

// The keyboard's 104 LED positions in row order: each position's 3-byte identifier is the factory
// key function of the key under it (type 0x20 with modifier bits and a keyboard usage; FN 0xA0 01).
Bytes KeyboardLayout() {
    struct Key {
        uint8_t type, p1, p2;
    };
    auto k = [](uint8_t usage) { return Key{0x20, 0x00, usage}; };
    auto mod = [](uint8_t bits) { return Key{0x20, bits, 0x00}; };
    std::vector<std::vector<Key>> rows = {
        {k(0x29), k(0x3A), k(0x3B), k(0x3C), k(0x3D), k(0x3E), k(0x3F), k(0x40), k(0x41), k(0x42),
         k(0x43), k(0x44), k(0x45), k(0x46), k(0x47), k(0x48)},
        {k(0x35), k(0x1E), k(0x1F), k(0x20), k(0x21), k(0x22), k(0x23),
         k(0x24), k(0x25), k(0x26), k(0x27), k(0x2D), k(0x2E), k(0x2A),
         k(0x49), k(0x4A), k(0x4B), k(0x53), k(0x54), k(0x55), k(0x56)},
        {k(0x2B), k(0x14), k(0x1A), k(0x08), k(0x15), k(0x17), k(0x1C),
         k(0x18), k(0x0C), k(0x12), k(0x13), k(0x2F), k(0x30), k(0x31),
         k(0x4C), k(0x4D), k(0x4E), k(0x5F), k(0x60), k(0x61), k(0x57)},
        {k(0x39), k(0x04), k(0x16), k(0x07), k(0x09), k(0x0A), k(0x0B), k(0x0D), k(0x0E), k(0x0F),
         k(0x33), k(0x34), k(0x28), k(0x5C), k(0x5D), k(0x5E)},
        {mod(0x02), k(0x1D), k(0x1B), k(0x06), k(0x19), k(0x05), k(0x11), k(0x10), k(0x36), k(0x37),
         k(0x38), mod(0x20), k(0x52), k(0x59), k(0x5A), k(0x5B), k(0x58)},
        {mod(0x01), mod(0x08), mod(0x04), k(0x2C), mod(0x40), Key{0xA0, 0x01, 0x00}, k(0x65),
         mod(0x10), k(0x50), k(0x51), k(0x4F), k(0x62), k(0x63)},
    };
    Bytes image, rowOf;
    for (size_t r = 0; r < rows.size(); ++r) {
        for (const Key& key : rows[r]) {
            image.insert(image.end(), {key.type, key.p1, key.p2});
            rowOf.push_back(static_cast<uint8_t>(r));
        }
    }
    image.insert(image.end(), rowOf.begin(), rowOf.end());  // split below
    return image;
}

constexpr uint8_t kKeyboardLeds = 104;

std::shared_ptr<SimMemory> KeyboardMemory() {
    auto memory = std::make_shared<SimMemory>(std::map<Area, size_t>{{Area::Info, 34},
                                                                     {Area::Image, 512},
                                                                     {Area::Aux, 512},
                                                                     {Area::Profile, 512},
                                                                     {Area::Banks, 5 * 512},
                                                                     {Area::Macro, 4096},
                                                                     {Area::Power, 56},
                                                                     {Area::Frame, 512}});
    memory->Set(Area::Info, InfoBlock(kKeyboardLeds, 32));
    Bytes layout = KeyboardLayout();
    const size_t split = 3u * kKeyboardLeds;
    memory->Set(Area::Image, Bytes(layout.begin(), layout.begin() + split));
    // Aux table: the row (0 = top) of each LED position.
    memory->Set(Area::Aux, Bytes(layout.begin() + split, layout.end()));

    Bytes profile(512, 0);
    Put(profile, 1, {4, 4, 2, 0, 1, 0xFF, 0xFF, 0xFF});  // colour cycle, bright, speed 2, multi
    profile[22] = 3;                                     // polling rate
    memory->Set(Area::Profile, profile);

    // Custom banks 0-3: red, green, blue, white on every LED; bank 4 dark.
    Bytes banks(5 * 512, 0);
    const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (size_t b = 0; b < 4; ++b)
        for (size_t led = 0; led < kKeyboardLeds; ++led)
            Put(banks, b * 512 + led * 3, {colours[b][0], colours[b][1], colours[b][2]});
    memory->Set(Area::Banks, banks);
    memory->Set(Area::Power, {100, 2, 0, 0, 0, 0});
    return memory;
}

// Mouse pad and headset: the 21-byte light block at address 0 of the profile space.
std::shared_ptr<SimMemory> LightDeviceMemory(uint8_t leds, bool headset) {
    std::map<Area, size_t> areas{{Area::Info, 34}, {Area::Profile, 512}, {Area::Power, 56}};
    if (headset)
        areas[Area::Frame] = SimMemory::kLedReportSize * SimMemory::kLedReportsKept;
    auto memory = std::make_shared<SimMemory>(areas);
    memory->Set(Area::Info, InfoBlock(leds, 0));
    Bytes profile(512, 0);
    Put(profile, 1, {1, 4, 2, 0, 1, 0x00, 0xFF, 0xFF});  // colour cycle, bright, speed 2, multi
    memory->Set(Area::Profile, profile);
    memory->Set(Area::Power, headset ? Bytes{100, 2, 0, 0, 0, 0} : Bytes{});
    return memory;
}

}  // namespace

const std::vector<std::string>& SimDeviceNames() {
    static const std::vector<std::string> names = {
        "mouse", "mouse-receiver", "keyboard", "keyboard-receiver", "mousepad", "headset"};
    return names;
}

std::shared_ptr<SimMemory> MakeFactoryMemory(const std::string& name) {
    if (name == "mouse" || name == "mouse-receiver")
        return MouseMemory();
    if (name == "keyboard" || name == "keyboard-receiver")
        return KeyboardMemory();
    if (name == "mousepad")
        return LightDeviceMemory(15, false);
    if (name == "headset")
        return LightDeviceMemory(13, true);
    return nullptr;
}

std::shared_ptr<SimDevice> MakeSimDevice(const std::string& name,
                                         std::shared_ptr<SimMemory> shared) {
    SimIdentity identity;
    if (name == "mouse" || name == "mouse-receiver")
        identity = MouseIdentity(name == "mouse-receiver");
    else if (name == "keyboard")
        identity = KeyboardLayoutIdentity(name, 0x0000, 0x0130, false);
    else if (name == "keyboard-receiver")
        identity = KeyboardLayoutIdentity(name, 0x0000, 0x0105, true);
    else if (name == "mousepad")
        identity = KeyboardLayoutIdentity(name, 0x1004, 0x0110, false);
    else if (name == "headset")
        identity = HeadsetIdentity();
    else
        return nullptr;
    auto memory = shared ? std::move(shared) : MakeFactoryMemory(name);
    return std::make_shared<SimDevice>(std::move(identity), std::move(memory));
}

Json::Value SimStateToJson(const std::vector<std::shared_ptr<SimDevice>>& devices) {
    Json::Value root(Json::objectValue);
    Json::Value list(Json::arrayValue);
    for (const auto& d : devices) {
        if (!d)
            continue;
        Json::Value entry(Json::objectValue);
        entry["kind"] = d->Kind();
        entry["vid"] = d->Identity().vendorId;
        entry["pid"] = d->Identity().productId;
        entry["areas"] = d->Memory()->AreasToJson();
        list.append(entry);
    }
    root["devices"] = list;
    return root;
}

bool ApplySimState(const Json::Value& state,
                   const std::vector<std::shared_ptr<SimDevice>>& devices) {
    if (!state.isObject() || !state["devices"].isArray())
        return false;
    std::map<std::string, size_t> seen;  // entries met so far per kind
    for (const Json::Value& entry : state["devices"]) {
        if (!entry.isObject() || !entry["kind"].isString())
            continue;
        const std::string kind = entry["kind"].asString();
        const size_t nth = seen[kind]++;
        size_t count = 0;
        for (const auto& d : devices) {
            if (!d || d->Kind() != kind)
                continue;
            if (count++ != nth)
                continue;
            const auto& id = d->Identity();
            if ((entry["vid"].isIntegral() && entry["vid"].asInt64() != id.vendorId) ||
                (entry["pid"].isIntegral() && entry["pid"].asInt64() != id.productId))
                break;
            d->Memory()->LoadAreas(entry["areas"]);
            break;
        }
    }
    return true;
}

bool LoadSimState(const std::filesystem::path& file,
                  const std::vector<std::shared_ptr<SimDevice>>& devices) {
    return ApplySimState(platform::ReadJsonFile(file), devices);
}

bool SaveSimState(const std::filesystem::path& file,
                  const std::vector<std::shared_ptr<SimDevice>>& devices) {
    return platform::WriteJsonFile(file, SimStateToJson(devices));
}

}  // namespace dravik::sim
