#pragma once
// Writes feed folders for the JV-Link stand-in (docs/jvlink-feed.md): the
// demo and the tests make their JV-Link data with it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace furlong {

// Writes one JV-Link file "<dataId><timestamp>.jvd" into the feed folder, or
// into its "download" folder when the stand-in should download it first.
// `dataId` is four letters or digits ("RACE"), `timestamp` "yyyymmddhhnnss";
// the records are written as given, each normally ending in CR LF. Creates
// the folders; throws StoreError when a file or folder cannot be written and
// std::invalid_argument for a malformed id or timestamp.
std::filesystem::path WriteFeedFile(const std::filesystem::path& feed, std::string_view dataId,
                                    std::string_view timestamp, const std::vector<std::string>& records,
                                    bool needsDownload = false);

// Writes real-time data for JVRTOpen(dataSpec, key):
// "realtime/<dataSpec>/<key>.jvd", or "<key>_<part>.jvd" when a part is
// given (parts are read in name order).
std::filesystem::path WriteRealTimeFile(const std::filesystem::path& feed, std::string_view dataSpec,
                                        std::string_view key, const std::vector<std::string>& records,
                                        std::string_view part = {});

}  // namespace furlong
