#pragma once
// INI files with the semantics of the classic private-profile functions: section and key names
// match without regard to letter case, blanks around names and values are ignored, a key present
// with an empty value reads as empty, and a missing file, section or key gives the default. Writes
// change only the one line they concern and keep every other byte of the file; they are atomic.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel {

// The text rules of the settings file, for the readers of its values too: blanks are spaces and
// tabs, and letter case is that of ASCII.
std::string_view TrimBlanks(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// A whole number written with nothing else around it but blanks; no sign other than '-'.
std::optional<int> ParseWholeNumber(std::string_view text);

class IniDocument {
  public:
    static IniDocument Parse(std::string_view bytes);

    // The value of the first occurrence of the key in a section of that name.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the value in place, or adds the key at the end of its section, or adds the section.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    std::string Serialize() const;

  private:
    struct Line {
        std::string text;    // without the line ending
        std::string ending;  // "\n", "\r\n"; "" or "\r" on a last line without a newline
    };
    std::optional<size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<size_t> FindSectionLine(std::string_view section) const;
    std::string NewlineStyle() const;
    static void EndLine(Line& line, const std::string& newline);

    std::string bom_;
    std::vector<Line> lines_;
};

struct IniReadResult {
    IniDocument document;
    bool exists = false;
    std::string error;  // empty when the file was read or does not exist
};

// Reads a whole file. A missing file is an empty document without error.
IniReadResult ReadIniFile(const std::filesystem::path& file);

std::string IniRead(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view defaultValue);

struct IniWriteResult {
    bool ok = true;
    std::string error;  // what happened and what to do, for the user
};

// Writes several keys of one section in one atomic save; creates the folder when missing.
IniWriteResult IniWriteAll(const std::filesystem::path& file, std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& values);
IniWriteResult IniWrite(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace vantrel
