#include "source/loaded_family.h"

#include <algorithm>

#include "common/text.h"
#include "common/utf8.h"
#include "source/source_values.h"
#include "vardel/family.h"
#include "vardel/reference_evaluator_provider.h"
#include "vardel/xml_document_builder.h"

namespace VardelCatalog {
namespace {

using Result = CTableEvaluator::EvaluateResult;

std::string Quoted(std::wstring_view text) {
    return '"' + VardelCommon::ToUtf8(text) + '"';
}

// The line of the first byte of `bytes` that is not UTF-8, else 0.
int FirstBadUtf8Line(std::string_view bytes) {
    const std::size_t bad = VardelCommon::FirstBadUtf8(bytes);
    if (bad == std::string_view::npos)
        return 0;
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + bad, '\n'));
}

// A strings document of `language` without texts.
XMLParser EmptyStrings(const std::wstring& language) {
    XMLDocumentBuilder builder;
    builder.StartElement("FamilyStrings");
    builder.Attribute("xml:lang", VardelCommon::ToUtf8(language));
    builder.EndElement();
    return builder.Finish();
}

void AddText(const XMLNode& root, const wchar_t* child, const std::wstring& language,
             LocalizedTexts& texts) {
    XMLNode element;
    std::wstring text;
    if (root.GetChildNode(child, element) && element.GetNodeText(text) && !text.empty())
        texts.emplace(language, std::move(text));
}

// The first "{id}" of `formula` naming no column of `table`.
std::optional<std::wstring> MissingReference(const std::wstring& formula,
                                             const CEncapFamilyTable& table) {
    for (std::size_t open = formula.find(L'{'); open != std::wstring::npos;
         open = formula.find(L'{', open + 1)) {
        const std::size_t close = formula.find(L'}', open);
        if (close == std::wstring::npos)
            break;
        std::wstring id(
            VardelCommon::Trim(std::wstring_view(formula).substr(open + 1, close - open - 1)));
        if (table.GetFamilyColumnByID(id) == nullptr)
            return id;
    }
    return std::nullopt;
}

std::string Describe(Result result, const CEncapFamilyColumn& column, const std::wstring& formula,
                     const CEncapFamilyTable& table) {
    const bool range = column.IsCustom();
    std::string text = (range ? "the range " : "the formula ") + Quoted(formula);
    switch (result) {
        case CTableEvaluator::SyntaxError:
            return text + " has a \"{\" without \"}\" or a \"}\" without \"{\"";
        case CTableEvaluator::UnknownReference:
            if (const auto missing = MissingReference(formula, table))
                return text + " refers to column " + Quoted(*missing) +
                       ", which the table does not have";
            return text + " gives more than a default for a boolean column";
        case CTableEvaluator::InvalidRange:
            return text +
                   " is not [min;max;step;default] with min <= default <= max and "
                   "step <= max - min";
        case CTableEvaluator::CircularReference:
            return text + " refers back to its own column";
        case CTableEvaluator::InvalidForColumn:
            return text + (range ? " needs a double or integer column"
                                 : " does not give a value of the column's type");
        default:
            return text + " cannot be evaluated";
    }
}

}  // namespace

LoadedFamily::LoadedFamily(std::string_view document, const std::vector<std::string_view>& strings,
                           const std::wstring& language) {
    std::vector<XMLParser> parsed(strings.size());
    for (std::size_t i = 0; i < strings.size(); ++i) {
        if (const int line = FirstBadUtf8Line(strings[i]); line != 0) {
            if (!stringsFault_)
                stringsFault_ = StringsFault{i, line, "not UTF-8"};
        } else {
            parsed[i].SetXmlUtf8(strings[i]);
        }
    }
    errorLine_ = FirstBadUtf8Line(document);
    if (errorLine_ != 0) {
        error_ = "not UTF-8";
        return;
    }
    XMLParser tree;
    tree.SetXmlUtf8(document);
    Load(tree, parsed, language);
}

LoadedFamily::LoadedFamily(const XMLParser& document, const std::vector<XMLParser>& strings,
                           const std::wstring& language) {
    Load(document, strings, language);
}

// A strings document whose parse failed is left out, as the model leaves
// out those that do not parse.
void LoadedFamily::Load(const XMLParser& document, const std::vector<XMLParser>& strings,
                        const std::wstring& language) {
    stringsCount_ = strings.size();
    std::vector<XMLParser> given{EmptyStrings(language)};
    for (std::size_t i = 0; i < strings.size(); ++i) {
        int line = 0;
        std::wstring message;
        if (!strings[i].GetParseError(line, message))
            given.push_back(strings[i]);
        else if (!stringsFault_)
            stringsFault_ =
                StringsFault{i, line, "not well-formed XML: " + VardelCommon::ToUtf8(message)};
    }
    family_ = std::make_unique<CEncapFamily>(document, given, L"",
                                             new CReferenceEvaluatorProvider(), language, false);
    std::wstring message;
    if (family_->GetFamilyXML().GetParseError(errorLine_, message))
        error_ = "not well-formed XML: " + VardelCommon::ToUtf8(message);
}

LoadedFamily::~LoadedFamily() = default;

bool LoadedFamily::Loaded(int& line, std::string& message) const {
    line = errorLine_;
    message = error_;
    return error_.empty();
}

XMLNode LoadedFamily::Root() const {
    return error_.empty() ? family_->GetFamilyXML().GetRootNode() : XMLNode();
}

// The model's languages are the empty document's, then those given.
XMLNode LoadedFamily::StringsRoot(std::size_t index) const {
    XMLParser strings;
    if (!error_.empty() || stringsFault_ || index >= stringsCount_ ||
        !family_->GetStringsFamilyXML(static_cast<int>(index) + 1, strings)) {
        return XMLNode();
    }
    return strings.GetRootNode();
}

void LoadedFamily::ReadTexts(LocalizedTexts& displayNames, LocalizedTexts& descriptions) const {
    for (std::size_t i = 0; i < stringsCount_; ++i) {
        const XMLNode root = StringsRoot(i);
        std::wstring language;
        if (!root.GetProperty(L"xml:lang", language))
            continue;
        language = LanguageKey(language);
        AddText(root, L"DisplayName", language, displayNames);
        AddText(root, L"Description", language, descriptions);
    }
}

// The mapping groups the elements by column; an entry of one element alone
// tells that element's column and parameter.
std::vector<ColumnMapping> LoadedFamily::ReadMappings() const {
    std::vector<ColumnMapping> mappings;
    const CEncapFamilyMapping* mapping =
        error_.empty() ? family_->GetEncapFamilyMapping() : nullptr;
    if (mapping == nullptr)
        return mappings;
    for (const CEncapMemberColToParam* entry : mapping->GetColumnParamEntries()) {
        for (const XMLNode& element : entry->GetXMLNodes()) {
            const CEncapMemberColToParam single(element, entry->GetMapping());
            ColumnMapping read{element, XMLNode(), {}, {}};
            element.GetChildNode(L"CategoryParameterRef", read.reference);
            single.GetColumnName(read.column);
            std::vector<std::wstring> parameters;
            if (single.GetCategoryParams(parameters))
                read.parameter = parameters.front();
            mappings.push_back(std::move(read));
        }
    }
    std::stable_sort(mappings.begin(), mappings.end(), [](const auto& a, const auto& b) {
        return a.element.GetLineNumber() < b.element.GetLineNumber();
    });
    return mappings;
}

CEncapFamilyTable* LoadedFamily::Table() const {
    return family_ != nullptr ? family_->GetEncapFamilyTable() : nullptr;
}

// The check the model makes before it stores a formula in a column, and the
// circle check it makes after.
std::optional<FormulaFault> LoadedFamily::FindFormulaFault() const {
    CEncapFamilyTable* table = Table();
    const int count = table != nullptr ? table->GetColumnsCount() : 0;
    for (int i = 0; i < count; ++i) {
        CEncapFamilyColumn* column = table->GetFamilyColumnByIndex(i);
        std::wstring formula;
        column->GetFormula(formula);
        if (formula.empty())
            continue;
        const auto type =
            column->IsCustom() ? DataTypes::RangeFormula : DataTypes::ExpressionFormula;
        Result result = table->CheckFormulaSyntax(formula.c_str(), type, column->GetDataType(),
                                                  column->GetUnitType());
        if (result == CTableEvaluator::Success)
            result = column->CheckCircularDependency(nullptr);
        if (result != CTableEvaluator::Success)
            return FormulaFault{column, Describe(result, *column, formula, *table)};
    }
    return std::nullopt;
}

void LoadedFamily::ReadMembers(const std::vector<ParameterColumn>& mapped,
                               std::vector<MemberSource>& members) const {
    members.clear();
    CEncapFamilyTable* table = Table();
    if (table == nullptr)
        return;
    std::vector<CEncapFamilyColumn*> columns;
    for (const ParameterColumn& map : mapped)
        columns.push_back(table->GetFamilyColumnByID(map.column));
    const std::vector<std::wstring>& rowIds = table->GetAllRowIDs();
    members.resize(rowIds.size());
    for (std::size_t r = 0; r < rowIds.size(); ++r) {
        MemberSource& member = members[r];
        member.rowId = rowIds[r];
        member.values.resize(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Result result = columns[c] != nullptr
                                      ? columns[c]->GetValue(member.rowId, member.values[c])
                                      : CTableEvaluator::NoValue;
            if (result != CTableEvaluator::Success && result != CTableEvaluator::UnitsStripped)
                member.values[c].clear();
        }
    }
}

}  // namespace VardelCatalog
