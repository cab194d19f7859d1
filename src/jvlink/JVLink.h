#pragma once
// The JV-Link boundary: the operations of JRA-VAN's JV-Link control that the
// program calls, as one interface. Every caller (program start, the import,
// the record filing, the results fetch) talks to this interface only; the
// Windows build puts the real control behind it, every platform can use the
// feed-folder stand-in (JVLinkStandIn.h).
//
// All results are the control's 32-bit result codes (see
// jvlink/JVResultMessage.h for their texts). Texts passed in and out are Shift-JIS
// bytes; records come back as Shift-JIS bytes with their closing CR LF.
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace furlong {

class TIniGT;

// JVRead results that are not errors.
inline constexpr int kJVReadEnd = 0;          // all files read
inline constexpr int kJVReadFileSwitch = -1;  // the next file begins
inline constexpr int kJVReadWait = -2;        // nothing to read yet, call again
inline constexpr int kJVReadDownloading = -3; // the file is still downloading, call again
// JVOpen / JVRTOpen: no data newer than the from-time (or for the key).
inline constexpr int kJVOpenNoData = -1;

// The buffer size every JVRead call passes.
inline constexpr int kJVReadBufferSize = 60000;

// The JV-Link dataspec and option of an import, and of the results fetch.
inline constexpr std::string_view kImportDataSpec = "RACERCVN";
inline constexpr int kImportOpenOption = 2;
inline constexpr std::string_view kResultsDataSpec = "0B12";

// The software id given to JVInit: this prefix followed by the version text
// ("Ver.1.33").
inline constexpr std::string_view kSoftwareIdPrefix = "SA100001/SD100001/Furlong/";
std::string SoftwareId(std::string_view versionText);

class JVLink {
 public:
  virtual ~JVLink() = default;

  // 0 = ready.
  virtual int JVInit(std::string_view softwareId) = 0;
  // The version property: four digits, "0490" for version 4.9.0.
  virtual std::string Version() = 0;
  // Shows JV-Link's own settings dialog (service key, save folder); 0 = success.
  virtual int JVSetUIProperties() = 0;
  // Opens a download of the dataspec from the from-time
  // ("yyyymmddhhnnss") on. 0 = opened; -1 = nothing newer; other negative =
  // error. On 0 the out-parameters hold the number of files to read, the
  // number of them still to download and the timestamp of the last file.
  virtual int JVOpen(std::string_view dataSpec, std::string_view fromTime, int option, int& readCount,
                     int& downloadCount, std::string& lastFileTimestamp) = 0;
  // Number of files downloaded so far (0 to the download count); negative =
  // error.
  virtual int JVStatus() = 0;
  // > 0: `record` holds one record of that many bytes, closing CR LF
  // included; 0: all read; -1: the next file begins; -2, -3: call again;
  // below -3: error. `fileName` receives the JV-Link file the record is from.
  virtual int JVRead(std::string& record, std::string& fileName, int bufferSize = kJVReadBufferSize) = 0;
  // Stops the running download.
  virtual int JVCancel() = 0;
  // Ends the open download or real-time read; 0 = success.
  virtual int JVClose() = 0;
  // Opens a real-time read (dataspec and key, e.g. "0B12" and a
  // date "yyyymmdd") whose records come through JVRead; 0 = opened.
  virtual int JVRTOpen(std::string_view dataSpec, std::string_view key) = 0;
};

// The notice for a control older than version 4.9.0 (a version property
// below "0490" in text order), as Shift-JIS text; empty for a newer one.
std::string JVLinkVersionWarning(std::string_view version);

// The control cannot be created (not installed, or not on this platform).
class JVLinkUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class JVLinkKind {
  Default,  // the control on Windows, the stand-in elsewhere
  Control,  // the JV-Link control (Windows only)
  StandIn,  // the feed-folder stand-in
};

struct JVLinkSettings {
  JVLinkKind kind = JVLinkKind::Default;
  // The stand-in's feed folder (see docs/jvlink-feed.md).
  std::filesystem::path feedFolder;
};

// The feed folder of the stand-in when no other is given: "JVFeed" below the
// data root.
std::filesystem::path DefaultFeedFolder(const std::filesystem::path& dataRoot);

// Where the settings file may name the stand-in's feed folder (a path,
// relative paths below the data root).
inline constexpr std::string_view kFeedSettingSection = "JVLink";
inline constexpr std::string_view kFeedSettingKey = "Feed";
// The name of the default feed folder below the data root.
inline constexpr std::string_view kDefaultFeedFolderName = "JVFeed";

// The JV-Link to use: the stand-in on `explicitFeed` when one is given, else
// the stand-in on the feed folder named in the settings file, else the
// platform's default (the control on Windows; elsewhere the stand-in on
// DefaultFeedFolder(dataRoot)). `settings` may be null.
JVLinkSettings ChooseJVLink(const std::filesystem::path& dataRoot, const TIniGT* settings,
                            const std::filesystem::path& explicitFeed = {});

// Creates a JV-Link. Throws JVLinkUnavailable when the control is asked for
// and cannot be created.
std::unique_ptr<JVLink> CreateJVLink(const JVLinkSettings& settings);

// True when the JV-Link control is installed (creating it succeeds); the
// test object is released at once. Always false off Windows.
bool JVLinkControlInstalled();

}  // namespace furlong
