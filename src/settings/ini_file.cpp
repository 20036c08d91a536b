#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vantrel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The section named by a header line, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const size_t close = line.find(']');
    return TrimBlanks(line.substr(0, close));
}

bool IsComment(std::string_view line) {
    line = TrimBlanks(line);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// Key name of a key line (text before the first '='), or nullopt.
std::optional<std::string_view> KeyName(std::string_view line) {
    if (IsComment(line)) return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(0, eq));
}

std::string Reason(int err) { return std::strerror(err); }

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, kBom.size()) == kBom) {
        doc.bom_ = kBom;
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        const size_t nl = bytes.find('\n');
        Line line;
        if (nl == std::string_view::npos) {
            // A last line ending in a lone CR keeps it as its ending, so that a line added below
            // it cannot turn it into a CRLF line with a different value.
            std::string_view text = bytes;
            if (text.back() == '\r') {
                text.remove_suffix(1);
                line.ending = "\r";
            }
            line.text = text;
            bytes = {};
        } else {
            std::string_view text = bytes.substr(0, nl);
            line.ending = "\n";
            if (!text.empty() && text.back() == '\r') {
                text.remove_suffix(1);
                line.ending = "\r\n";
            }
            line.text = text;
            bytes.remove_prefix(nl + 1);
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::optional<size_t> IniDocument::FindSectionLine(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i].text);
        if (name && EqualsNoCase(*name, section)) return i;
    }
    return std::nullopt;
}

std::optional<size_t> IniDocument::FindKeyLine(std::string_view section,
                                               std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i].text)) {
            inSection = EqualsNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        const auto k = KeyName(lines_[i].text);
        if (k && EqualsNoCase(*k, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto line = FindKeyLine(section, key);
    if (!line) return std::nullopt;
    const std::string& text = lines_[*line].text;
    return std::string(TrimBlanks(std::string_view(text).substr(text.find('=') + 1)));
}

std::string IniDocument::NewlineStyle() const {
    for (const Line& line : lines_) {
        if (line.ending.ends_with('\n')) return line.ending;
    }
    return "\n";
}

void IniDocument::EndLine(Line& line, const std::string& newline) {
    if (line.ending.ends_with('\n')) return;
    // A CR still at the end of the text would make a plain LF after it a CRLF ending, and the
    // value would lose the CR it had when read.
    line.ending = line.text.ends_with('\r') ? "\r\n" : newline;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (const auto line = FindKeyLine(section, key)) {
        std::string& text = lines_[*line].text;
        text.erase(text.find('=') + 1);
        text += value;
        return;
    }
    const std::string newline = NewlineStyle();
    Line keyLine{std::string(key) + "=" + std::string(value), newline};
    if (const auto header = FindSectionLine(section)) {
        // After the section's last non-blank line, so blank separators stay below it.
        size_t insertAt = *header + 1;
        for (size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
            if (!TrimBlanks(lines_[i].text).empty()) insertAt = i + 1;
        }
        EndLine(lines_[insertAt - 1], newline);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(keyLine));
        return;
    }
    if (!lines_.empty()) EndLine(lines_.back(), newline);
    lines_.push_back(Line{"[" + std::string(section) + "]", newline});
    lines_.push_back(std::move(keyLine));
}

std::string IniDocument::Serialize() const {
    std::string out = bom_;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

IniReadResult ReadIniFile(const std::filesystem::path& file) {
    IniReadResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) return result;
    result.exists = true;
    if (std::filesystem::is_directory(status)) {
        result.error = "it is a folder, not a file";
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result.error = Reason(errno);
        return result;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        result.error = "it could not be read to the end";
        return result;
    }
    result.document = IniDocument::Parse(bytes.view());
    return result;
}

std::string IniRead(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view defaultValue) {
    const IniReadResult read = ReadIniFile(file);
    if (!read.error.empty()) return std::string(defaultValue);
    return read.document.Get(section, key).value_or(std::string(defaultValue));
}

namespace {

IniWriteResult Failed(const std::filesystem::path& file, const std::string& reason,
                      const std::string& advice) {
    return {false, "Could not save " + file.string() + ": " + reason + ". " + advice};
}

bool HasWriteBits(const std::filesystem::path& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return true;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

IniWriteResult IniWriteAll(const std::filesystem::path& file, std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values) {
        if (value.find_first_of("\r\n") != std::string::npos) {
            return Failed(file, "the value of " + key + " contains a line break",
                          "Remove the line break and save again.");
        }
    }
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return Failed(file, "its folder could not be created (" + ec.message() + ")",
                      "Check that you may write to " + folder.string() + ".");
    }

    IniReadResult read = ReadIniFile(file);
    if (!read.error.empty()) {
        return Failed(file, "the existing file could not be read (" + read.error + ")",
                      "Move it out of the way or fix its permissions, then save again.");
    }
    if (read.exists && (::access(file.c_str(), W_OK) != 0 || !HasWriteBits(file))) {
        return Failed(file, "the file is read-only",
                      "Make it writable (chmod u+w \"" + file.string() + "\") and save again.");
    }
    if (::access(folder.c_str(), W_OK) != 0 || !HasWriteBits(folder)) {
        return Failed(file, "its folder is read-only",
                      "Make " + folder.string() + " writable and save again.");
    }
    for (const auto& [key, value] : values) read.document.Set(section, key, value);
    const std::string bytes = read.document.Serialize();

    // A temporary file beside the target and a rename: an interrupted save leaves the old file.
    std::string tempName = (folder / (file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        return Failed(
            file, Reason(errno),
            "Check the free space and permissions of " + folder.string() + ", then save again.");
    }
    struct stat st {};
    mode_t mode = 0644;
    if (read.exists && ::stat(file.c_str(), &st) == 0) mode = st.st_mode & 07777;
    ::fchmod(fd, mode);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErr = errno;
    ::close(fd);
    if (!written || ::rename(tempName.c_str(), file.c_str()) != 0) {
        const int err = written ? errno : writeErr;
        ::unlink(tempName.c_str());
        return Failed(file, Reason(err),
                      "Check the free space (df -h) and permissions of " + folder.string() +
                          ", then save again. The old file is unchanged.");
    }
    return {};
}

IniWriteResult IniWrite(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
    return IniWriteAll(file, section, {{std::string(key), std::string(value)}});
}

}  // namespace vantrel
