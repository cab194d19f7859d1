#include "imports/LzhArchive.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <system_error>

#include "store/Encoding.h"
#include "store/SjisChars.h"
#include "store/Store.h"
#include "store/TextLines.h"

#include <lhasa.h>

namespace furlong {

namespace fs = std::filesystem;

namespace {

// The parts of a name between separators ("/", "\" and the 0xFF of LHA
// folder fields); the second byte of a two-byte character is never one.
// `leading` is set when the text starts with a separator.
void SplitNameParts(std::string_view s, std::vector<std::string>& parts, bool& leading, bool& trailing) {
  std::string current;
  trailing = false;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(c) && i + 1 < s.size()) {
      current.append(s.substr(i, 2));
      i += 2;
      trailing = false;
      continue;
    }
    if (c == 0xFF || c == '/' || c == '\\') {
      if (i == 0) leading = true;
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
      trailing = true;
    } else {
      current.push_back(static_cast<char>(c));
      trailing = false;
    }
    ++i;
  }
  if (!current.empty()) parts.push_back(std::move(current));
}

std::string JoinName(std::string_view folder, std::string_view file) {
  std::vector<std::string> parts;
  bool leading = false, trailing = false;
  if (!folder.empty()) {
    SplitNameParts(folder, parts, leading, trailing);
    bool ignore = false;
    SplitNameParts(file, parts, ignore, trailing);
  } else {
    SplitNameParts(file, parts, leading, trailing);
  }
  std::string name = leading ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) name += '/';
    name += parts[i];
  }
  if ((trailing || file.empty()) && !parts.empty()) name += '/';
  return name;
}

std::string Shown(std::string_view sjisName) { return "'" + SjisToUtf8(sjisName) + "'"; }

// ---- lhasa over bytes in memory -------------------------------------------

struct MemoryStream {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 0;
};

int MemoryRead(void* handle, void* buf, size_t len) {
  auto* s = static_cast<MemoryStream*>(handle);
  std::size_t n = std::min<std::size_t>({len, s->size - s->pos, static_cast<std::size_t>(INT_MAX)});
  std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  return static_cast<int>(n);
}

int MemorySkip(void* handle, size_t bytes) {
  auto* s = static_cast<MemoryStream*>(handle);
  if (bytes > s->size - s->pos) {
    s->pos = s->size;
    return 0;
  }
  s->pos += bytes;
  return 1;
}

const LHAInputStreamType kMemoryStreamType = {MemoryRead, MemorySkip, nullptr};

struct Slice {
  const char* data;
  std::size_t remaining;
};

size_t SliceRead(void* buf, size_t len, void* user) {
  auto* s = static_cast<Slice*>(user);
  std::size_t n = std::min(len, s->remaining);
  std::memcpy(buf, s->data, n);
  s->data += n;
  s->remaining -= n;
  return n;
}

struct StreamDeleter {
  void operator()(LHAInputStream* s) const { lha_input_stream_free(s); }
};
struct ReaderDeleter {
  void operator()(LHAReader* r) const { lha_reader_free(r); }
};
struct DecoderDeleter {
  void operator()(LHADecoder* d) const { lha_decoder_free(d); }
};

std::uint32_t Little(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// The member name from the raw header bytes. lhasa's own name fields are not
// used: they turn every 0x5C byte of a level 0/1 name into a separator (also
// the second byte of a two-byte character), drop ".." parts silently and
// lower-case names it takes for MS-DOS ones.
std::string RawMemberName(const LHAFileHeader& h) {
  const std::uint8_t* raw = h.raw_data;
  const std::size_t len = h.raw_data_len;
  std::string file, folder;
  std::size_t offset = 0;
  int fieldSize = 2;
  bool extended = true;
  switch (h.header_level) {
    case 0:
    case 1:
      if (len > 21 && 22u + raw[21] <= len) file.assign(reinterpret_cast<const char*>(raw + 22), raw[21]);
      offset = raw[0];
      extended = h.header_level == 1;
      break;
    case 2:
      offset = 24;
      break;
    case 3:
      offset = 28;
      fieldSize = 4;
      break;
    default:
      extended = false;
  }
  while (extended && offset + fieldSize <= len) {
    const std::size_t extLen = Little(raw + offset, fieldSize);
    if (extLen == 0 || extLen < static_cast<std::size_t>(fieldSize) + 1 || offset + fieldSize + extLen > len) break;
    const std::uint8_t type = raw[offset + fieldSize];
    const char* data = reinterpret_cast<const char*>(raw + offset + fieldSize + 1);
    const std::size_t dataLen = extLen - fieldSize - 1;
    if (type == 0x01) file.assign(data, dataLen);
    if (type == 0x02) folder.assign(data, dataLen);
    offset += extLen;
  }
  return JoinName(folder, file);
}

}  // namespace

std::uint16_t LzhCrc16(std::string_view data, std::uint16_t crc) {
  static const std::array<std::uint16_t, 256> table = [] {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
      t[i] = static_cast<std::uint16_t>(c);
    }
    return t;
  }();
  for (unsigned char b : data) crc = static_cast<std::uint16_t>((crc >> 8) ^ table[(crc ^ b) & 0xFF]);
  return crc;
}

std::vector<LzhMember> ReadLzhArchive(std::string_view bytes) {
  if (bytes.size() > kLzhMaxArchiveSize)
    throw LzhError("the archive is larger than " + std::to_string(kLzhMaxArchiveSize >> 20) + " MiB");
  std::vector<LzhMember> members;
  if (bytes.empty()) return members;

  MemoryStream stream{bytes.data(), bytes.size(), 0};
  std::unique_ptr<LHAInputStream, StreamDeleter> input(lha_input_stream_new(&kMemoryStreamType, &stream));
  if (!input) throw std::bad_alloc();
  std::unique_ptr<LHAReader, ReaderDeleter> reader(lha_reader_new(input.get()));
  if (!reader) throw std::bad_alloc();
  lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);

  // Where the next header must begin: right after the previous member's data.
  std::size_t next = 0;
  std::size_t total = 0;
  for (;;) {
    LHAFileHeader* h = lha_reader_next_file(reader.get());
    if (!h) break;
    if (members.size() >= kLzhMaxMembers)
      throw LzhError("the archive holds more than " + std::to_string(kLzhMaxMembers) + " members");
    // lhasa has read exactly this header (also the first one, whose lead-in
    // is shorter than any header); the member's data follows it.
    const std::size_t dataStart = stream.pos;
    LzhMember m;
    m.name = RawMemberName(*h);
    m.method.assign(h->compress_method, strnlen(h->compress_method, sizeof h->compress_method));
    m.link = h->symlink_target != nullptr;
    m.directory = m.method == "-lhd-" && !m.link;
    if (h->compressed_length > bytes.size() - dataStart)
      throw LzhError("the archive is truncated: member " + Shown(m.name) + " needs " +
                     std::to_string(h->compressed_length) + " bytes, only " +
                     std::to_string(bytes.size() - dataStart) + " follow");
    next = dataStart + h->compressed_length;

    if (m.method != "-lhd-") {
      if (h->length > kLzhMaxMemberSize)
        throw LzhError("member " + Shown(m.name) + " is too large (" + std::to_string(h->length) + " bytes)");
      total += h->length;
      if (total > kLzhMaxTotalSize) throw LzhError("the archive's members are too large in all");
      char method[6];
      std::memcpy(method, h->compress_method, sizeof method);
      method[5] = '\0';
      LHADecoderType* type = lha_decoder_for_name(method);
      if (!type) {
        m.supported = false;
      } else {
        Slice slice{bytes.data() + dataStart, h->compressed_length};
        std::unique_ptr<LHADecoder, DecoderDeleter> decoder(lha_decoder_new(type, SliceRead, &slice, h->length));
        if (!decoder) throw std::bad_alloc();
        m.data.resize(h->length);
        std::size_t got = 0;
        while (got < m.data.size()) {
          std::size_t want = std::min<std::size_t>(m.data.size() - got, 65536);
          std::size_t n = lha_decoder_read(decoder.get(), reinterpret_cast<std::uint8_t*>(m.data.data() + got), want);
          if (n == 0) break;
          got += n;
        }
        if (got < m.data.size())
          throw LzhError("member " + Shown(m.name) + " is damaged or truncated: " + std::to_string(got) + " of " +
                         std::to_string(m.data.size()) + " bytes could be decoded");
        if (LzhCrc16(m.data) != h->crc) throw LzhError("member " + Shown(m.name) + " is damaged (CRC error)");
      }
    }
    members.push_back(std::move(m));
  }

  // A sound archive ends with its end mark (a zero byte) or simply stops
  // after the last member; anything else is a header lhasa could not read.
  if (next < bytes.size() && bytes[next] != '\0') {
    if (members.empty()) throw LzhError("not an LZH archive, or its first header is damaged");
    throw LzhError("the archive is damaged after member " + Shown(members.back().name) + " (offset " +
                   std::to_string(next) + ")");
  }
  return members;
}

std::string LzhMemberFileName(std::string_view memberName, std::string* reason) {
  auto refuse = [&](const char* why) {
    if (reason) *reason = why;
    return std::string();
  };
  if (reason) reason->clear();
  if (memberName.empty()) return refuse("the member has no name");
  if (memberName.front() == '/') return refuse("absolute path");

  std::vector<std::string> parts;
  bool leading = false, trailing = false;
  SplitNameParts(memberName, parts, leading, trailing);
  if (leading) return refuse("absolute path");
  for (const std::string& part : parts) {
    if (part == "..") return refuse("'..' in the path");
    // A drive ("C:") or a Windows stream name ("file:stream").
    for (std::size_t i = 0; i < part.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(part[i]);
      if (IsSjisLeadByte(c) && i + 1 < part.size()) {
        ++i;
        continue;
      }
      if (c == ':') return refuse(&part == &parts.front() && i == 1 ? "drive in the path" : "':' in the name");
    }
  }
  if (trailing || parts.empty()) return {};  // a folder
  const std::string& base = parts.back();
  if (base == ".") return {};
  for (std::size_t i = 0; i < base.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(base[i]);
    if (IsSjisLeadByte(c) && i + 1 < base.size()) {
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F || std::strchr("<>\"|?*", c) != nullptr)
      return refuse("characters that cannot be in a file name");
  }
  return base;
}

LzhExtraction ExtractLzhArchive(const fs::path& archive, const fs::path& folder) {
  std::error_code ec;
  const auto size = fs::file_size(archive, ec);
  if (!ec && size > kLzhMaxArchiveSize)
    throw LzhError("the archive is larger than " + std::to_string(kLzhMaxArchiveSize >> 20) + " MiB");
  const std::vector<LzhMember> members = ReadLzhArchive(ReadWholeFile(archive, kLzhMaxArchiveSize));
  const std::string archiveName = PathNameToSjis(archive.filename());

  LzhExtraction result;
  for (const LzhMember& m : members) {
    if (m.directory) continue;
    if (m.link) {
      result.refused.push_back({m.name, "symbolic link"});
      continue;
    }
    if (!m.supported) {
      result.refused.push_back({m.name, "compression method " + m.method + " is not supported"});
      continue;
    }
    std::string reason;
    const std::string name = LzhMemberFileName(m.name, &reason);
    if (name.empty()) {
      if (!reason.empty()) result.refused.push_back({m.name, reason});
      continue;
    }
    if (EqualsIgnoringAsciiCase(name, archiveName)) {
      result.refused.push_back({m.name, "would replace the archive itself"});
      continue;
    }
    const fs::path file = SjisPath(name);
    // The name is one plain part; the path cannot leave the folder.
    if (file.has_parent_path() || file.has_root_path() || file.filename() != file) {
      result.refused.push_back({m.name, "not a plain file name"});
      continue;
    }
    WriteFileAtomically(folder / file, m.data, false);
    result.written.push_back(name);
    ++result.extracted;
  }
  if (result.extracted > 0) SyncFolder(folder);
  return result;
}

std::string MakeStoredLzhArchive(const std::vector<LzhStoredFile>& files, std::uint32_t dosTime) {
  std::string out;
  auto put32 = [](std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  for (const LzhStoredFile& f : files) {
    if (f.name.empty() || f.name.size() > 233) throw std::invalid_argument("LZH member name must be 1-233 bytes");
    if (f.data.size() > 0xFFFFFFFFu) throw std::invalid_argument("LZH member too large");
    std::string h;
    h.push_back(static_cast<char>(22 + f.name.size()));  // header size after these two bytes
    h.push_back('\0');                                    // checksum, below
    h += "-lh0-";
    put32(h, static_cast<std::uint32_t>(f.data.size()));  // packed size
    put32(h, static_cast<std::uint32_t>(f.data.size()));  // original size
    put32(h, dosTime);
    h.push_back(0x20);  // attribute: archive
    h.push_back(0x00);  // header level 0
    h.push_back(static_cast<char>(f.name.size()));
    h += f.name;
    const std::uint16_t crc = LzhCrc16(f.data);
    h.push_back(static_cast<char>(crc & 0xFF));
    h.push_back(static_cast<char>(crc >> 8));
    unsigned sum = 0;
    for (std::size_t i = 2; i < h.size(); ++i) sum += static_cast<unsigned char>(h[i]);
    h[1] = static_cast<char>(sum & 0xFF);
    out += h;
    out += f.data;
  }
  out.push_back('\0');
  return out;
}

}  // namespace furlong
