// Family document files the family command tests work on, written into a
// scratch folder:
//
//   bolt.family.xml   "Hex bolt": size (key), d, l, dw = {d}*2 (member 2
//                     overrides it with 17), n (integer), designation =
//                     "M" & {d} & "x" & {l}; members M6/6/20 (n 2), M8/8/30,
//                     M10/10/40. Beside it bolt.strings.de-DE.xml (German
//                     name and title of d) and bolt.strings.en-US.xml.
//   broken.family.xml a formula circle (a, b), a reference to a missing
//                     column (c), an unclosed brace (e), an integer cell
//                     2.5, a number cell "abc" (member 2, so that f = {d}*2
//                     fails there) and the key columns size and d: size M8
//                     in members 2 to 4, the whole key M8,8 in 3 and 4.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "tool_runner.h"

namespace VardelToolTest {

inline constexpr const char* kBoltId = "50000000-0000-0000-0000-000000000001";
inline constexpr const char* kBoltRow1 = "60000000-0000-0000-0000-000000000001";
inline constexpr const char* kBoltRow2 = "60000000-0000-0000-0000-000000000002";

class FamilyFileTest : public ::testing::Test {
  protected:
    void SetUp() override;

    /// The path of `name` in the scratch folder.
    std::string PathOf(const std::string& name) const;
    /// The bytes of the scratch file `name`; empty when it is missing.
    std::string ReadFile(const std::string& name) const;
    /// A run of `vardel args... --json` expected to succeed, parsed.
    nlohmann::json Json(std::vector<std::string> args) const;

    TempFolder folder_;
    std::string bolt_;
    std::string broken_;
};

}  // namespace VardelToolTest
