// CReferenceEvaluatorProvider: arithmetic in every unit kind, unit suffixes,
// unit conversions, materials and material files, and the statuses of bad
// input.
#include "vardel/reference_evaluator_provider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/temp_folder.h"
#include "vardel/family.h"

namespace {

using Materials = std::vector<std::pair<std::wstring, std::wstring>>;

struct Evaluation {
    const wchar_t* expression;
    const wchar_t* unit;
    double expected;
};

void ExpectEvaluations(const std::vector<Evaluation>& cases) {
    CReferenceEvaluatorProvider provider;
    for (const Evaluation& c : cases) {
        double value = -1.0;
        EXPECT_EQ(provider.EvaluateExpression(c.expression, c.unit, &value), S_OK)
            << testing::PrintToString(std::wstring(c.expression));
        EXPECT_NEAR(value, c.expected, 1e-12 * std::max(1.0, std::abs(c.expected)))
            << testing::PrintToString(std::wstring(c.expression)) << " in "
            << testing::PrintToString(std::wstring(c.unit));
    }
}

TEST(ReferenceProvider, PlainNumbersOfEveryUnitAnswerInTheDatabaseUnitOfTheKind) {
    CReferenceEvaluatorProvider provider;
    const std::vector<std::tuple<const wchar_t*, const wchar_t*, double, const wchar_t*>> cases = {
        {L"2", L"mm", 0.2, L"cm"},
        {L"2", L"cm", 2.0, L"cm"},
        {L"2", L"m", 200.0, L"cm"},
        {L"2", L"in", 5.08, L"cm"},
        {L"2", L"ft", 60.96, L"cm"},
        {L"2", L"rad", 2.0, L"rad"},
        {L"180", L"deg", std::numbers::pi, L"rad"},
        {L"500", L"g", 0.5, L"kg"},
        {L"2", L"kg", 2.0, L"kg"},
        {L"1", L"lb", 0.45359237, L"kg"},
        {L"2", L"ul", 2.0, L"ul"},
    };
    for (const auto& [expression, unit, expected, database] : cases) {
        double value = -1.0;
        EXPECT_EQ(provider.EvaluateExpression(expression, unit, &value), S_OK);
        EXPECT_NEAR(value, expected, 1e-12 * expected) << testing::PrintToString(unit);
        std::wstring answer;
        EXPECT_EQ(provider.GetDatabaseUnit(unit, answer), S_OK);
        EXPECT_EQ(answer, database);
    }
    std::wstring untouched = L"x";
    EXPECT_EQ(provider.GetDatabaseUnit(L"MM", untouched), E_INVALIDARG);
    EXPECT_EQ(provider.GetDatabaseUnit(L"", untouched), E_INVALIDARG);
    EXPECT_EQ(provider.GetDatabaseUnit(nullptr, untouched), E_INVALIDARG);
    EXPECT_EQ(untouched, L"x");
}

TEST(ReferenceProvider, ArithmeticAndFunctions) {
    ExpectEvaluations({
        {L"1+2*3", L"ul", 7.0},
        {L"(1+2)*3", L"ul", 9.0},
        {L"2^10", L"ul", 1024.0},
        {L"-4/8", L"ul", -0.5},
        {L"sqrt(16)", L"ul", 4.0},
        {L"max(1, 5, 3)", L"ul", 5.0},
        {L"min(4,2)", L"ul", 2.0},
        {L"abs(-2.5)", L"ul", 2.5},
        {L"log10(1000)", L"ul", 3.0},
        {L"sin(_pi/2)", L"ul", 1.0},
        {L"ln(_e) + avg(2, 4) + rint(2.6) + sign(-3) + sum(1,2)", L"ul", 1 + 3 + 3 - 1 + 3},
        {L"  .5 + 1e2 ", L"ul", 100.5},
    });
}

TEST(ReferenceProvider, SuffixedNumbersAreConvertedToTheCallersUnitFirst) {
    ExpectEvaluations({
        {L"10mm*2", L"cm", 2.0},
        {L"10mm*2", L"mm", 2.0},
        {L"2.5 in", L"cm", 6.35},
        {L"3ft+1", L"in", 37 * 2.54},
        {L"1m - 50cm", L"m", 50.0},
        {L"1e1mm", L"cm", 1.0},
        {L"90deg", L"rad", std::numbers::pi / 2},
        {L"sin(90deg)", L"rad", 1.0},
        {L"1lb + 1", L"kg", 0.45359237 + 1.0},
        {L"2 * (1in + 1mm)", L"mm", 2 * (2.54 + 0.1)},
    });
}

TEST(ReferenceProvider, FailuresLeaveTheValueAndAnswerTheirStatus) {
    CReferenceEvaluatorProvider provider;
    const std::vector<std::tuple<const wchar_t*, const wchar_t*, HRESULT>> cases = {
        // Suffixes of another kind, and "ul" as a suffix.
        {L"10kg", L"mm", E_INVALIDARG},
        {L"5mm", L"ul", E_INVALIDARG},
        {L"5ul", L"ul", E_INVALIDARG},
        {L"1deg + 1mm", L"deg", E_INVALIDARG},
        // Unknown units; names are case-sensitive.
        {L"1", L"furlong", E_INVALIDARG},
        {L"1", L"MM", E_INVALIDARG},
        {L"1", L"", E_INVALIDARG},
        // Syntax, unknown names, results that are not finite.
        {L"1+", L"ul", E_FAIL},
        {L"(1", L"ul", E_FAIL},
        {L"", L"ul", E_FAIL},
        {L"2 foo", L"ul", E_FAIL},
        {L"width*2", L"ul", E_FAIL},
        {L"1/0", L"ul", E_FAIL},
        {L"sqrt(-1)", L"ul", E_FAIL},
        {L"10^400", L"ul", E_FAIL},
        {L"1e400 * 0", L"ul", E_FAIL},
        {L"1e-400 + 1", L"ul", E_FAIL},
        {L"$0", L"ul", E_FAIL},
        {L"1 + 1.2.3", L"ul", E_FAIL},
        // Only ASCII reaches the parser.
        {L"2\u00d73", L"ul", E_FAIL},
        {L"2\u00b0", L"ul", E_FAIL},
    };
    for (const auto& [expression, unit, status] : cases) {
        double value = 42.0;
        EXPECT_EQ(provider.EvaluateExpression(expression, unit, &value), status)
            << testing::PrintToString(std::wstring(expression));
        EXPECT_EQ(value, 42.0);
    }
    double value = 0.0;
    EXPECT_EQ(provider.EvaluateExpression(nullptr, L"ul", &value), E_INVALIDARG);
    EXPECT_EQ(provider.EvaluateExpression(L"1", nullptr, &value), E_INVALIDARG);
    EXPECT_EQ(provider.EvaluateExpression(L"1", L"ul", nullptr), E_INVALIDARG);
    // A failure does not spoil the next evaluation.
    EXPECT_EQ(provider.EvaluateExpression(L"6/3", L"ul", &value), S_OK);
    EXPECT_EQ(value, 2.0);
}

TEST(ReferenceProvider, ExpressionsOfOneShapeKeepTheirOwnNumbers) {
    CReferenceEvaluatorProvider provider;
    double value = 0.0;
    // More shapes than are kept (spaces make shapes too), each met twice.
    for (int i = 0; i < 1200; ++i) {
        std::wstring expression = L"(1";
        expression.append(static_cast<std::size_t>(i % 600), L' ');
        expression += L"+1)*";
        expression += std::to_wstring(i);
        expression += L"mm";
        ASSERT_EQ(provider.EvaluateExpression(expression.c_str(), L"cm", &value), S_OK);
        EXPECT_DOUBLE_EQ(value, 2 * i * 0.1) << i;
        expression.replace(1, 1, L"2");
        ASSERT_EQ(provider.EvaluateExpression(expression.c_str(), L"in", &value), S_OK);
        EXPECT_DOUBLE_EQ(value, 3 * i * 0.1) << i;
    }
    // A shape that failed to parse fails again, whatever its numbers.
    EXPECT_EQ(provider.EvaluateExpression(L"2*(3", L"ul", &value), E_FAIL);
    EXPECT_EQ(provider.EvaluateExpression(L"4*(5", L"ul", &value), E_FAIL);
    EXPECT_EQ(provider.EvaluateExpression(L"4*(5)", L"ul", &value), S_OK);
    EXPECT_EQ(value, 20.0);
}

TEST(ReferenceProvider, ConvertUnitsWithinOneKindOnly) {
    CReferenceEvaluatorProvider provider;
    const std::vector<std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, double>> cases = {
        {L"25.4", L"mm", L"in", 1.0},
        {L"1", L"ft", L"in", 12.0},
        {L"1.5", L"m", L"mm", 1500.0},
        {L"1000", L"g", L"kg", 1.0},
        {L"7", L"ul", L"ul", 7.0},
        {L"1e3", L"mm", L"m", 1.0},
        {L"-180", L"deg", L"rad", -std::numbers::pi},
    };
    for (const auto& [text, from, to, expected] : cases) {
        double result = 0.0;
        EXPECT_EQ(provider.ConvertUnits(text, from, to, &result), S_OK);
        EXPECT_NEAR(result, expected, 1e-12 * std::abs(expected)) << testing::PrintToString(text);
    }
    const std::vector<std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, HRESULT>> bad = {
        {L"1", L"mm", L"kg", E_INVALIDARG},    {L"1", L"ul", L"cm", E_INVALIDARG},
        {L"1", L"yd", L"cm", E_INVALIDARG},    {L"1", L"cm", L"Cm", E_INVALIDARG},
        {nullptr, L"cm", L"mm", E_INVALIDARG}, {L"1,5", L"cm", L"mm", E_FAIL},
        {L"1.5cm", L"cm", L"mm", E_FAIL},      {L"", L"cm", L"mm", E_FAIL},
        {L"1e400", L"cm", L"mm", E_FAIL},
    };
    for (const auto& [text, from, to, status] : bad) {
        double result = 42.0;
        EXPECT_EQ(provider.ConvertUnits(text, from, to, &result), status);
        EXPECT_EQ(result, 42.0);
    }
}

TEST(ReferenceProvider, MaterialsAreFoundBothWaysIgnoringCase) {
    CReferenceEvaluatorProvider provider;
    std::wstring text;
    EXPECT_EQ(provider.GetMaterialName(L"STEEL", text), S_OK);
    EXPECT_EQ(text, L"Steel");
    EXPECT_EQ(provider.GetMaterialName(L"stainless-steel", text), S_OK);
    EXPECT_EQ(text, L"Stainless steel");
    EXPECT_EQ(provider.GetMaterialRefKey(L"stainless STEEL", text), S_OK);
    EXPECT_EQ(text, L"stainless-steel");
    EXPECT_EQ(provider.GetMaterialRefKey(L"cast iron", text), S_OK);
    EXPECT_EQ(text, L"cast-iron");

    text = L"untouched";
    EXPECT_EQ(provider.GetMaterialName(L"unobtainium", text), E_FAIL);
    EXPECT_EQ(provider.GetMaterialName(L"Steel ", text), E_FAIL);
    EXPECT_EQ(provider.GetMaterialRefKey(L"steel-ish", text), E_FAIL);
    EXPECT_EQ(provider.GetMaterialName(nullptr, text), E_INVALIDARG);
    EXPECT_EQ(provider.GetMaterialRefKey(nullptr, text), E_INVALIDARG);
    EXPECT_EQ(text, L"untouched");

    const Materials materials = provider.GetMaterials();
    ASSERT_EQ(materials.size(), 8u);
    EXPECT_EQ(materials.front(),
              (std::pair<std::wstring, std::wstring>{L"aluminium", L"Aluminium"}));
    EXPECT_EQ(materials.back().first, L"titanium");
}

class MaterialFile : public testing::Test {
  protected:
    std::wstring Write(const std::string& name, const std::string& bytes) {
        const auto path = folder_.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }

    TempFolder folder_;
    CReferenceEvaluatorProvider provider_;
    std::wstring error_;
};

TEST_F(MaterialFile, ReplacesTheMaterialsSkippingCommentsAndBlankLines) {
    const std::wstring path = Write("materials.txt",
                                    "\xEF\xBB\xBF# workshop stock\r\n"
                                    "\r\n"
                                    "  bronze =  Bronze CuSn8 \r\n"
                                    "   # indented comment\n"
                                    "pom=Acetal = POM\n"
                                    "\tz\xC3\xA4h = Z\xC3\xA4hes Zeug\n"
                                    "   \n");
    ASSERT_TRUE(provider_.LoadMaterialFile(path.c_str(), error_)) << testing::PrintToString(error_);
    EXPECT_EQ(provider_.GetMaterials(), (Materials{{L"bronze", L"Bronze CuSn8"},
                                                   {L"pom", L"Acetal = POM"},
                                                   {L"z\u00e4h", L"Z\u00e4hes Zeug"}}));
    std::wstring text;
    EXPECT_EQ(provider_.GetMaterialName(L"steel", text), E_FAIL);
    EXPECT_EQ(provider_.GetMaterialName(L"Z\u00c4H", text), S_OK);
    EXPECT_EQ(text, L"Z\u00e4hes Zeug");
}

TEST_F(MaterialFile, BadLinesAreRefusedWithFileAndLineAndChangeNothing) {
    const std::vector<std::pair<std::string, std::wstring>> cases = {
        {"# ok\nbronze = Bronze\nno equals sign\n", L":3: "},
        {"bronze = Bronze\n = Nameless\n", L":2: "},
        {"bronze =\n", L":1: "},
        {"bronze = Bronze\r\n\r\nBRONZE = Other\r\n", L":3: "},
    };
    for (const auto& [bytes, where] : cases) {
        const std::wstring path = Write("bad.txt", bytes);
        error_.clear();
        EXPECT_FALSE(provider_.LoadMaterialFile(path.c_str(), error_));
        EXPECT_NE(error_.find(path + where), std::wstring::npos) << testing::PrintToString(error_);
        EXPECT_EQ(provider_.GetMaterials().size(), 8u);
    }
}

TEST_F(MaterialFile, MissingFileOrFolderIsRefused) {
    const std::wstring missing = (folder_.path() / "none.txt").wstring();
    EXPECT_FALSE(provider_.LoadMaterialFile(missing.c_str(), error_));
    EXPECT_NE(error_.find(missing), std::wstring::npos);
    EXPECT_FALSE(provider_.LoadMaterialFile(folder_.path().wstring().c_str(), error_));
    EXPECT_FALSE(provider_.LoadMaterialFile(nullptr, error_));
    EXPECT_EQ(provider_.GetMaterials().size(), 8u);
}

TEST_F(MaterialFile, AnEmptyFileLeavesNoMaterials) {
    const std::wstring path = Write("empty.txt", "# nothing here\n");
    ASSERT_TRUE(provider_.LoadMaterialFile(path.c_str(), error_));
    EXPECT_TRUE(provider_.GetMaterials().empty());
}

// Reads the family a provider serves, which only derived classes may see.
class FamilyProbe : public CReferenceEvaluatorProvider {
  public:
    using CReferenceEvaluatorProvider::CReferenceEvaluatorProvider;
    CEncapFamily* Family() const { return GetEncapFamily(); }
};

TEST(ReferenceProvider, CopiesServeTheSameFamilyAndKeepTheMaterials) {
    auto* original = new FamilyProbe();
    EXPECT_EQ(original->Family(), nullptr);
    const CEncapFamily family(original, false);
    EXPECT_EQ(original->Family(), &family);

    TempFolder folder;
    const auto path = folder.path() / "m.txt";
    std::ofstream(path) << "bronze = Bronze\n";
    std::wstring error;
    ASSERT_TRUE(original->LoadMaterialFile(path.wstring().c_str(), error));
    double value = 0.0;
    ASSERT_EQ(original->EvaluateExpression(L"1+1", L"ul", &value), S_OK);

    FamilyProbe copy(*original);
    EXPECT_EQ(copy.Family(), &family);
    EXPECT_EQ(copy.GetMaterials(), original->GetMaterials());
    EXPECT_EQ(copy.EvaluateExpression(L"2mm", L"mm", &value), S_OK);
    EXPECT_DOUBLE_EQ(value, 0.2);

    FamilyProbe assigned;
    assigned = copy;
    EXPECT_EQ(assigned.Family(), &family);
    EXPECT_EQ(assigned.GetMaterials().size(), 1u);
}

}  // namespace
