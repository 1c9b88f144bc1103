#include "platform/JsonFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>

#include "platform/Trace.h"

// The styled layout is JsonCpp's StyledWriter, which the library marks deprecated in favour of
// the builder API; the builder does not produce the same layout, and stored files rely on it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/reader.h>
#include <json/writer.h>

namespace dravik::platform {

Json::Value ParseJsonText(const std::string& text) {
    std::string_view body(text);
    if (body.size() >= 3 && static_cast<unsigned char>(body[0]) == 0xEF &&
        static_cast<unsigned char>(body[1]) == 0xBB && static_cast<unsigned char>(body[2]) == 0xBF)
        body.remove_prefix(3);
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    // Comments are accepted but not kept: written back, a comment after a value can swallow the
    // comma that follows it and break the document.
    builder["collectComments"] = false;
    builder["stackLimit"] = 256;  // a deeply nested document fails instead of exhausting the stack
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    try {
        if (!reader->parse(body.data(), body.data() + body.size(), &value, &errors))
            return Json::Value();
    } catch (const std::exception&) {  // the reader throws past its nesting limit
        return Json::Value();
    }
    return value;
}

namespace {

// The whole file, or nothing when it cannot be opened, is longer than maxBytes or is not read
// completely; errno tells why.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path,
                                          ec)) {  // folders, pipes and devices are no documents
        if (!ec && std::filesystem::exists(path, ec))
            errno = EINVAL;
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(0, std::ios::end);
    std::streamoff length = in.tellg();
    in.seekg(0, std::ios::beg);
    if (length < 0 || !in)
        return std::nullopt;
    if (static_cast<std::uintmax_t>(length) > maxBytes) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    in.read(text.data(), length);
    if (in.gcount() != length)
        return std::nullopt;  // fewer bytes than the file's length
    return text;
}

}  // namespace

Json::Value ReadJsonFile(const std::filesystem::path& path) {
    return ReadJsonFile(path, std::numeric_limits<std::size_t>::max());
}

Json::Value ReadJsonFile(const std::filesystem::path& path, std::size_t maxBytes) {
    errno = 0;
    std::optional<std::string> text = ReadWholeFile(path, maxBytes);
    const int error = errno;
    Json::Value value = text ? ParseJsonText(*text) : Json::Value();
    if (value.isNull())
        Trace("%s\n", path.string().c_str());
    Trace("readjsonFile 错误吗：：%d\n", error);
    return value;
}

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

bool ReadHex4(const std::string& s, size_t at, uint32_t& v) {
    if (at + 4 > s.size())
        return false;
    v = 0;
    for (size_t i = at; i < at + 4; ++i) {
        char c = s[i];
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0)
            return false;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return true;
}

// The styled writer escapes every non-ASCII character as \uXXXX; documents are UTF-8 text, so
// such escapes are turned back into UTF-8 (control characters stay escaped). Line ends become
// CR LF.
std::string ToUtf8CrLf(const std::string& styled) {
    std::string out;
    out.reserve(styled.size() + styled.size() / 16 + 2);
    for (size_t i = 0; i < styled.size(); ++i) {
        char c = styled[i];
        if (c == '\n') {
            out += "\r\n";
            continue;
        }
        if (c != '\\' || i + 1 >= styled.size()) {
            out += c;
            continue;
        }
        uint32_t cp = 0;
        if (styled[i + 1] == 'u' && ReadHex4(styled, i + 2, cp) && cp >= 0x80) {
            size_t used = 6;
            uint32_t low = 0;
            if (cp >= 0xD800 && cp < 0xDC00 && styled.compare(i + 6, 2, "\\u") == 0 &&
                ReadHex4(styled, i + 8, low) && low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                used = 12;
            }
            if (cp < 0xD800 || cp >= 0xE000) {
                AppendUtf8(out, cp);
                i += used - 1;
                continue;
            }
        }
        out += c;
        out += styled[++i];  // keep any other escape (\\, \", \u001f …) whole
    }
    return out;
}

}  // namespace

std::string FormatStyledJson(const Json::Value& value) {
    Json::StyledWriter writer;
    return ToUtf8CrLf(writer.write(value)) + "\r\n";
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path temp = path;
    temp += ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WriteJsonFile(const std::filesystem::path& path, const Json::Value& value) {
    return WriteFileAtomically(path, FormatStyledJson(value));
}

}  // namespace dravik::platform
#pragma GCC diagnostic pop
