#pragma once
// The profile data of a device page: the current profile's device entry ("Device"[0] of its
// document) in memory, read into and written from fixed records section by section, and saved
// back into the file without touching the file's other members. The mouse pad uses this class as
// it is; the mouse, keyboard and headset add their own sections.
#include <json/value.h>

#include <filesystem>
#include <vector>

#include "keys/KeyFunction.h"
#include "profiles/ProfileRecords.h"

namespace dravik {

class CBasicProfiledata {
  public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = default;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

    // Writes the current device entry into the profile file. False when the file could not be
    // written (the file and the memory then stay as they were).
    virtual bool Save();
    // Reads the file at path (a missing or broken file counts as an empty document), sets its
    // "Device"[0] to value and writes the whole document back.
    virtual bool SaveDeviceEntry(const Json::Value& value, const std::filesystem::path& path);
    // Writes the scratch device entry into the file at path, as SaveDeviceEntry.
    virtual bool SaveScratch(const std::filesystem::path& path);
    // Writes value as the whole file at path.
    virtual bool WriteDocument(const Json::Value& value, const std::filesystem::path& path);

    // Paths; an empty path leaves the stored one unchanged.
    void SetProfilePath(const std::filesystem::path& path);
    const std::filesystem::path& GetProfilePath() const { return profilePath_; }
    void SetDefaultPath(const std::filesystem::path& path);
    const std::filesystem::path& GetDefaultPath() const { return defaultPath_; }
    void SetLightLibraryPath(const std::filesystem::path& path) { lightLibraryPath_ = path; }
    const std::filesystem::path& GetLightLibraryPath() const { return lightLibraryPath_; }

    // Loads "Device"[0] of the profile at path as the current document. A file that is missing,
    // broken or without a usable "Device"[0] is repaired: the document becomes the default
    // document's "Device"[0], which is also written into the file (keeping the file's other root
    // members when it parsed). The default document itself is never written. Returns a copy.
    Json::Value LoadProfile(const std::filesystem::path& path);
    // The same into the scratch document (another profile than the current one).
    Json::Value LoadScratch(const std::filesystem::path& path);
    // Reads the light library into memory; returns a copy (null when missing or broken).
    Json::Value LoadLightLibrary(const std::filesystem::path& path);
    void SetDeviceIndex(int index) { deviceIndex_ = index; }
    int GetDeviceIndex() const { return deviceIndex_; }

    const Json::Value& Document() const { return document_; }
    const Json::Value& ScratchDocument() const { return scratch_; }
    const Json::Value& LightLibrary() const { return lightLibrary_; }

    // Section operations. Each works on the in-memory document only (nothing reaches the file
    // until Save); a read stores its result in the matching member, a write stores its argument
    // there first.
    LightInfo ReadLightInfo();
    void WriteLightInfo(const LightInfo& info);
    AudioLightInfo ReadAudioLight();
    void WriteAudioLight(const AudioLightInfo& info);
    std::vector<LightListEntry> ReadLightList();
    // The frames of the user light picked by the light's "SelectItem" in the light library.
    std::vector<LightEffectFrame> ReadEffectFrames();
    std::vector<KeyRecord> ReadKeyList();
    void WriteKeyList(const std::vector<KeyRecord>& keys);
    std::vector<KeyRecord> ReadScratchKeyList();
    void WriteScratchKeyList(const std::vector<KeyRecord>& keys);

    // The members as last read or written.
    const LightInfo& Light() const { return light_; }
    const AudioLightInfo& AudioLight() const { return audioLight_; }
    const std::vector<LightListEntry>& LightList() const { return lightList_; }
    const std::vector<LightEffectFrame>& EffectFrames() const { return effectFrames_; }
    const std::vector<KeyRecord>& Keys() const { return keys_; }
    const std::vector<KeyRecord>& ScratchKeys() const { return scratchKeys_; }

  protected:
    Json::Value& MutableDocument() { return document_; }

  private:
    Json::Value LoadDeviceEntry(const std::filesystem::path& path);

    std::filesystem::path profilePath_;
    std::filesystem::path defaultPath_;
    LightInfo light_;
    LightInfo defaultLight_;  // used when the document has no "LightInfo": all zeros
    AudioLightInfo audioLight_;
    std::vector<LightListEntry> lightList_;
    Json::Value document_;
    Json::Value scratch_;
    std::filesystem::path lightLibraryPath_;
    std::filesystem::path
        loadedLibraryPath_;  // the light library last loaded, for its ".light" files
    std::vector<LightEffectFrame> effectFrames_;
    Json::Value lightLibrary_;
    std::vector<KeyRecord> keys_;
    std::vector<KeyRecord> scratchKeys_;
    int deviceIndex_ = 0;
};

}  // namespace dravik
