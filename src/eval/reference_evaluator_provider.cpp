// The reference evaluator provider: unit suffixes are resolved here, the
// arithmetic is muparser's (narrow strings), units come from the unit table
// and materials from the material table. muparser reports errors by
// throwing; every exception is caught before it reaches the interface.
//
// Parsing is what costs in muparser, and a table evaluates the same formula
// for every row with other numbers. So every number of an expression is
// read here and becomes a variable ("$0", "$1", ...): expressions that
// differ only in their numbers share one shape, parsed once and kept.
#include "vardel/reference_evaluator_provider.h"

#include <muParser.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "common/wide_path.h"
#include "eval/material_table.h"
#include "eval/unit_table.h"

using VardelEval::Unit;

namespace {

// Beyond this many shapes the cache starts afresh, which bounds its memory.
constexpr std::size_t kMaxShapes = 512;

// muparser's name characters and the "$" of the number variables, which no
// expression may contain itself.
constexpr const char* kNameChars =
    "0123456789_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ$";

// One parsed shape; its variables point into `numbers`, whose size is fixed.
struct Shape {
    explicit Shape(const std::string& text, std::size_t count) : numbers(count) {
        parser.DefineNameChars(kNameChars);
        for (std::size_t i = 0; i < count; ++i) {
            std::string name(1, '$');
            name += std::to_string(i);
            parser.DefineVar(name, &numbers[i]);
        }
        parser.SetExpr(text);
    }
    mu::Parser parser;
    std::vector<double> numbers;
};

}  // namespace

struct CReferenceEvaluatorProvider::Engine {
    // The value of `shape` with `numbers`; throws muparser's error for an
    // expression that does not parse.
    double Evaluate();

    std::unordered_map<std::string, std::unique_ptr<Shape>> shapes;
    // Scratch buffers of one evaluation, kept to reuse their memory.
    std::string ascii;
    std::string shape;
    std::vector<double> numbers;
};

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}

// muparser reads narrow text; an expression with other than ASCII
// characters cannot be one of its expressions.
bool ToAscii(const wchar_t* text, std::string& out) {
    out.clear();
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        if (*p < 0 || *p > 0x7F) {
            return false;
        }
        out += static_cast<char>(*p);
    }
    return true;
}

// The unit written right after a number (spaces allowed before it), and the
// end of its name; null when the next word is not a unit.
const Unit* ScanUnitSuffix(std::string_view text, std::size_t numberEnd, std::size_t& end) {
    std::size_t begin = numberEnd;
    while (begin < text.size() && text[begin] == ' ') {
        ++begin;
    }
    end = begin;
    while (end < text.size() && IsLetter(text[end])) {
        ++end;
    }
    if (end == begin || (end < text.size() && IsNameChar(text[end]))) {
        return nullptr;
    }
    return VardelEval::FindUnit(text.substr(begin, end - begin));
}

// Copies `text` to `shape` with every number replaced by the next variable
// and its value, converted from its unit suffix into `target` when it has
// one, appended to `numbers`. E_INVALIDARG for a suffix of another kind
// than `target` and any "ul" suffix; E_FAIL for a "$" in the text and a
// number beyond the range of doubles.
HRESULT ExtractNumbers(std::string_view text, const Unit& target, std::string& shape,
                       std::vector<double>& numbers) {
    shape.clear();
    numbers.clear();
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (IsLetter(c) || c == '_') {
            // A name, digits included ("log10"), passes unchanged.
            const std::size_t begin = i;
            while (i < text.size() && IsNameChar(text[i])) {
                ++i;
            }
            shape.append(text.substr(begin, i - begin));
            continue;
        }
        if (c == '$') {
            return E_FAIL;
        }
        if (!IsDigit(c) && !(c == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))) {
            shape += c;
            ++i;
            continue;
        }
        // from_chars reads exactly a number of the "C" form: digits, a point,
        // digits and an exponent only when digits follow it.
        double number = 0.0;
        const auto [end, error] =
            std::from_chars(text.data() + i, text.data() + text.size(), number);
        if (error != std::errc()) {
            return E_FAIL;
        }
        const auto numberEnd = static_cast<std::size_t>(end - text.data());
        std::size_t suffixEnd = numberEnd;
        if (const Unit* suffix = ScanUnitSuffix(text, numberEnd, suffixEnd)) {
            if (suffix->kind != target.kind || suffix->kind == VardelEval::UnitKind::Unitless) {
                return E_INVALIDARG;
            }
            number = number * suffix->factor / target.factor;
            i = suffixEnd;
        } else {
            i = numberEnd;
        }
        shape += '$';
        shape += std::to_string(numbers.size());
        numbers.push_back(number);
    }
    return S_OK;
}

const Unit* FindUnit(const wchar_t* name) {
    return name != nullptr ? VardelEval::FindUnit(std::wstring_view(name)) : nullptr;
}

}  // namespace

double CReferenceEvaluatorProvider::Engine::Evaluate() {
    auto found = shapes.find(shape);
    if (found == shapes.end()) {
        if (shapes.size() >= kMaxShapes) {
            shapes.clear();
        }
        found = shapes.emplace(shape, std::make_unique<Shape>(shape, numbers.size())).first;
    }
    Shape& parsed = *found->second;
    std::copy(numbers.begin(), numbers.end(), parsed.numbers.begin());
    return parsed.parser.Eval();
}

CReferenceEvaluatorProvider::CReferenceEvaluatorProvider()
    : materials_(VardelEval::BuiltInMaterials()) {}

CReferenceEvaluatorProvider::CReferenceEvaluatorProvider(const CReferenceEvaluatorProvider& other)
    : IEvaluatorProvider(other), materials_(other.materials_) {}

CReferenceEvaluatorProvider& CReferenceEvaluatorProvider::operator=(
    const CReferenceEvaluatorProvider& other) {
    IEvaluatorProvider::operator=(other);
    materials_ = other.materials_;
    return *this;
}

CReferenceEvaluatorProvider::~CReferenceEvaluatorProvider() = default;

HRESULT CReferenceEvaluatorProvider::EvaluateExpression(const wchar_t* expression,
                                                        const wchar_t* unit, double* value) {
    const Unit* target = FindUnit(unit);
    if (expression == nullptr || value == nullptr || target == nullptr) {
        return E_INVALIDARG;
    }
    try {
        if (!engine_) {
            engine_ = std::make_unique<Engine>();
        }
        Engine& engine = *engine_;
        if (!ToAscii(expression, engine.ascii)) {
            return E_FAIL;
        }
        if (const HRESULT status =
                ExtractNumbers(engine.ascii, *target, engine.shape, engine.numbers);
            status != S_OK) {
            return status;
        }
        const double result = engine.Evaluate() * target->factor;
        if (!std::isfinite(result)) {
            return E_FAIL;
        }
        *value = result;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CReferenceEvaluatorProvider::ConvertUnits(const wchar_t* value, const wchar_t* fromUnit,
                                                  const wchar_t* toUnit, double* result) {
    const Unit* from = FindUnit(fromUnit);
    const Unit* to = FindUnit(toUnit);
    if (value == nullptr || result == nullptr || from == nullptr || to == nullptr ||
        from->kind != to->kind) {
        return E_INVALIDARG;
    }
    std::size_t consumed = 0;
    const double number = VardelCommon::ParseLeadingNumber(value, &consumed);
    const double converted = number * from->factor / to->factor;
    if (consumed == 0 || value[consumed] != L'\0' || !std::isfinite(converted)) {
        return E_FAIL;
    }
    *result = converted;
    return S_OK;
}

HRESULT CReferenceEvaluatorProvider::GetDatabaseUnit(const wchar_t* unit,
                                                     std::wstring& databaseUnit) {
    const Unit* found = FindUnit(unit);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    const std::string_view name = VardelEval::DatabaseUnit(found->kind).name;
    databaseUnit.assign(name.begin(), name.end());
    return S_OK;
}

HRESULT CReferenceEvaluatorProvider::GetMaterialName(const wchar_t* key, std::wstring& name) {
    if (key == nullptr) {
        return E_INVALIDARG;
    }
    const auto* material = VardelEval::FindMaterialByKey(materials_, key);
    if (material == nullptr) {
        return E_FAIL;
    }
    name = material->second;
    return S_OK;
}

HRESULT CReferenceEvaluatorProvider::GetMaterialRefKey(const wchar_t* name, std::wstring& key) {
    if (name == nullptr) {
        return E_INVALIDARG;
    }
    const auto* material = VardelEval::FindMaterialByName(materials_, name);
    if (material == nullptr) {
        return E_FAIL;
    }
    key = material->first;
    return S_OK;
}

bool CReferenceEvaluatorProvider::LoadMaterialFile(const wchar_t* path, std::wstring& error) {
    if (path == nullptr) {
        error = L"no material file named";
        return false;
    }
    return VardelEval::ReadMaterialFile(VardelCommon::ToPath(path), materials_, error);
}

std::vector<std::pair<std::wstring, std::wstring>> CReferenceEvaluatorProvider::GetMaterials()
    const {
    std::vector<std::pair<std::wstring, std::wstring>> materials;
    materials.reserve(materials_.size());
    for (const auto& [folded, material] : materials_) {
        materials.push_back(material);
    }
    return materials;
}
