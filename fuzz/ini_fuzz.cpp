// Fuzzes the INI parser and writer: reading must never fail, an unchanged document must come back
// byte for byte, and a written value must read back while every other key keeps its value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/boundary_value.h"
#include "settings/ini_file.h"

using vantrel::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);
    if (doc.Serialize() != bytes) std::abort();

    const auto before = doc.Get("fields", "g34l");
    if (before) (void)vantrel::ParseBoundary(*before);
    const auto other = doc.Get("keyconfig", "key1");

    doc.Set("fields", "g34l", "2020");
    const std::string written = doc.Serialize();
    const IniDocument again = IniDocument::Parse(written);
    if (again.Get("fields", "g34l") != std::optional<std::string>("2020")) std::abort();
    if (again.Get("keyconfig", "key1") != other) std::abort();
    return 0;
}
