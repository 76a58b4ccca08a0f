// vardel family show|table|eval|validate|set|export: one family document, from the
// catalogue or from a file, seen and edited through the document face. This
// file adds the group and runs show: the family's properties, columns,
// mapped columns and templates.
#include <iostream>
#include <memory>

#include "commands.h"
#include "family_cells.h"
#include "family_command.h"
#include "family_document.h"
#include "vardel/data_types.h"

namespace VardelTool {
namespace {

// A property shown, with its labels in text and JSON.
struct Property {
    const char* text;
    const char* json;
    std::wstring value;
};

// The family properties read through a getter; standard, standards
// organisation and manufacturer, which the getters read from category
// constants only, fall back to the root attribute that documents without
// those constants keep them in.
struct PropertyGetter {
    const char* text;
    const char* json;
    void (CEncapFamily::*get)(std::wstring&) const;
    const wchar_t* rootAttribute;
};

constexpr PropertyGetter kGetters[] = {
    {"name", "name", &CEncapFamily::GetDisplayName, nullptr},
    {"id", "id", &CEncapFamily::GetInternalName, nullptr},
    {"description", "description", &CEncapFamily::GetDescription, nullptr},
    {"standard", "standard", &CEncapFamily::GetStandard, L"Standard"},
    {"standards org", "standardsOrganization", &CEncapFamily::GetStandardOrg, L"StandardsOrg"},
    {"manufacturer", "manufacturer", &CEncapFamily::GetManufacturer, L"Manufacturer"},
    {"revision", "revision", &CEncapFamily::GetRevisionID, nullptr},
    {"last modified", "lastModified", &CEncapFamily::GetLastModTime, nullptr},
};

// The name first, then the rest in display order.
std::vector<Property> ReadProperties(const FamilyDocument& document) {
    const CEncapFamily& family = *document.family;
    std::vector<Property> properties;
    for (const PropertyGetter& getter : kGetters) {
        Property property{getter.text, getter.json, {}};
        (family.*getter.get)(property.value);
        if (property.value.empty() && getter.rootAttribute != nullptr) {
            family.GetFamilyXML().GetRootNode().GetProperty(getter.rootAttribute, property.value);
        }
        properties.push_back(std::move(property));
    }
    properties.push_back({"kind", "kind",
                          family.IsFeature() ? L"feature"
                          : family.IsPart()  ? L"part"
                                             : L""});
    Property library{"library", "library", document.library};
    if (library.value.empty()) {
        family.GetLibInterName(library.value);
    }
    properties.push_back(std::move(library));
    return properties;
}

std::vector<CEncapFamilyColumn*> ColumnsOf(const FamilyDocument& document) {
    const CEncapFamilyTable* table = document.family->GetEncapFamilyTable();
    return table != nullptr ? TableColumns(*table) : std::vector<CEncapFamilyColumn*>();
}

std::size_t MemberCount(const FamilyDocument& document) {
    const CEncapFamilyTable* table = document.family->GetEncapFamilyTable();
    return table != nullptr ? table->GetAllRowIDs().size() : 0;
}

// A column and the category parameters it stands for, by id.
struct MappedColumn {
    std::wstring column;
    std::vector<std::wstring> parameters;
};

// In the mapping's order (column ids ignoring case); columns standing for none
// are left out.
std::vector<MappedColumn> MappedColumns(const CEncapFamily& family) {
    std::vector<MappedColumn> mapped;
    const CEncapFamilyMapping* mapping = family.GetEncapFamilyMapping();
    if (mapping == nullptr) {
        return mapped;
    }
    for (const CEncapMemberColToParam* entry : mapping->GetColumnParamEntries()) {
        MappedColumn column;
        entry->GetColumnName(column.column);
        if (entry->GetCategoryParams(column.parameters)) {
            mapped.push_back(std::move(column));
        }
    }
    return mapped;
}

// A template's name and model file.
struct TemplateFile {
    std::wstring name;
    std::wstring fileName;
};

std::vector<TemplateFile> Templates(const CEncapFamily& family) {
    std::vector<TemplateFile> templates;
    const CEncapFamilyMapping* mapping = family.GetEncapFamilyMapping();
    if (mapping != nullptr) {
        for (const std::wstring& name : mapping->GetTemplateNames()) {
            TemplateFile file{name, {}};
            mapping->GetTemplateFileNameByName(name, file.fileName);
            templates.push_back(std::move(file));
        }
    }
    return templates;
}

void PrintMappings(const CEncapFamily& family) {
    const std::vector<MappedColumn> mapped = MappedColumns(family);
    std::cout << "Mapped columns (" << mapped.size() << ")\n";
    TextTable table;
    table.AddRow({"column", "parameters"});
    for (const MappedColumn& column : mapped) {
        std::string parameters;
        for (const std::wstring& parameter : column.parameters) {
            parameters += (parameters.empty() ? "" : ", ") + Utf8(parameter);
        }
        table.AddRow({Utf8(column.column), std::move(parameters)});
    }
    table.Print(std::cout, 2);
    const std::vector<TemplateFile> templates = Templates(family);
    std::cout << "Templates (" << templates.size() << ")\n";
    TextTable files;
    files.AddRow({"name", "file"});
    for (const TemplateFile& file : templates) {
        files.AddRow({Utf8(file.name), Utf8(file.fileName)});
    }
    files.Print(std::cout, 2);
}

void PrintColumns(const std::vector<CEncapFamilyColumn*>& columns) {
    std::cout << "Columns (" << columns.size() << ")\n";
    TextTable table;
    table.AddRow({"id", "title", "type", "unit", "key", "flags", "formula"});
    for (const CEncapFamilyColumn* column : columns) {
        std::wstring title;
        std::wstring formula;
        column->GetTitle(title);
        column->GetFormula(formula);
        std::string flags = column->IsHidden() ? "hidden" : "";
        if (column->IsCustom()) {
            flags += flags.empty() ? "custom" : ",custom";
        }
        table.AddRow({Utf8(column->GetColumnID()), Utf8(title), TypeName(*column),
                      Utf8(column->GetUnitType()),
                      column->IsKeyColumn() ? std::to_string(column->GetKeyWeight()) : "",
                      std::move(flags), Utf8(formula)});
    }
    table.Print(std::cout, 2);
}

void PrintText(const FamilyDocument& document, const std::vector<Property>& properties) {
    std::cout << Printable(Utf8(properties.front().value)) << '\n';
    TextTable table;
    for (std::size_t i = 1; i < properties.size(); ++i) {
        table.AddRow({properties[i].text, Utf8(properties[i].value)});
    }
    std::string languages;
    for (const std::wstring& language : document.languages) {
        languages += languages.empty() ? "" : ", ";
        languages += Utf8(language);
    }
    table.AddRow({"languages", languages});
    table.AddRow({"members", std::to_string(MemberCount(document))});
    table.Print(std::cout, 2);
    PrintColumns(ColumnsOf(document));
    PrintMappings(*document.family);
}

Json ToJson(const FamilyDocument& document, const std::vector<Property>& properties,
            const std::string& file) {
    Json json = Json::object();
    for (const Property& property : properties) {
        json[property.json] = Utf8(property.value);
    }
    json["file"] = file;
    json["languages"] = TextList(document.languages);
    json["members"] = MemberCount(document);
    json["columns"] = Json::array();
    for (const CEncapFamilyColumn* column : ColumnsOf(document)) {
        json["columns"].push_back(ColumnJson(*column));
    }
    json["mappings"] = Json::array();
    for (const MappedColumn& column : MappedColumns(*document.family)) {
        json["mappings"].push_back(
            {{"column", Utf8(column.column)}, {"parameters", TextList(column.parameters)}});
    }
    json["templates"] = Json::array();
    for (const TemplateFile& model : Templates(*document.family)) {
        json["templates"].push_back(
            {{"name", Utf8(model.name)}, {"fileName", Utf8(model.fileName)}});
    }
    return json;
}

Status RunFamilyShow(const FamilyOptions& options) {
    Result<FamilyDocument> document = OpenFamily(options.family, options.catalog);
    if (!document.ok()) {
        return document.failure();
    }
    const std::vector<Property> properties = ReadProperties(document.value());
    if (options.json) {
        PrintJson(ToJson(document.value(), properties,
                         IsFamilyFile(options.family) ? options.family : ""));
    } else {
        PrintText(document.value(), properties);
    }
    return std::nullopt;
}

using Runner = Status (*)(const FamilyOptions&);

// A family sub-command on FAMILY with the context options.
std::pair<CLI::App*, std::shared_ptr<FamilyOptions>> AddSub(CLI::App& group, CommandSet& commands,
                                                            const std::string& name,
                                                            const std::string& description,
                                                            Runner run) {
    auto options = std::make_shared<FamilyOptions>();
    CLI::App* command = group.add_subcommand(name, description);
    command
        ->add_option("FAMILY", options->family,
                     "Family id or display name (any case), or a family document file (*.xml)")
        ->required();
    AddContextOptions(*command, options->catalog);
    commands.Add(command, [options, run] { return Finish(run(*options)); });
    return {command, options};
}

// --columns and --member of table and eval.
void AddSelection(CLI::App& command, FamilyOptions& options) {
    command
        .add_option("--columns", options.columns,
                    "Columns to print, by id or title, comma-separated (default: all)")
        ->delimiter(',')
        ->allow_extra_args(false);
    AddRepeatable(command, "--member", options.members,
                  "Member to print: row id, key value or row number (repeatable; default: all)");
}

void AddSet(CLI::App& group, CommandSet& commands) {
    auto options = std::make_shared<FamilyOptions>();
    CLI::App* set = group.add_subcommand(
        "set", "Change one cell (or with --formula a column's formula) of a family document file");
    set->add_option("FILE", options->family, "Family document file (*.xml)")->required();
    set->add_option("EDIT", options->edit, "ROW COLUMN VALUE, or with --formula COLUMN FORMULA")
        ->required()
        ->expected(2, 3)
        ->type_name("");
    set->add_option("-o,--output", options->output, "File to write (may be FILE)")->required();
    set->add_flag("--formula", options->formula, "Set the column's formula");
    set->add_option("--lang", options->catalog.language, "Language of the strings files");
    SetExample(*set,
               "  vardel family set M.family.xml M8 l 45 -o M.family.xml\n"
               "  vardel family set M.family.xml --formula l \"{d}*5\" -o M2.family.xml");
    commands.Add(set, [options] { return Finish(RunFamilySet(*options)); });
}

// title and map: FILE and two more arguments, -o, and for title --lang.
void AddEdit(CLI::App& group, CommandSet& commands, const std::string& name,
             const std::string& description, const std::string& arguments,
             const std::string& example, Runner run) {
    auto options = std::make_shared<FamilyOptions>();
    CLI::App* edit = group.add_subcommand(name, description);
    edit->add_option("FILE", options->family, "Family document file (*.xml)")->required();
    edit->add_option("EDIT", options->edit, arguments)->required()->expected(2)->type_name("");
    edit->add_option("-o,--output", options->output, "File to write (may be FILE)")->required();
    edit->add_option("--lang", options->catalog.language,
                     name == "title" ? "Language of the title (default: the document's own)"
                                     : "Language of the strings files");
    SetExample(*edit, example);
    commands.Add(edit, [options, run] { return Finish(run(*options)); });
}

void AddExport(CLI::App& group, CommandSet& commands) {
    auto [exported, options] =
        AddSub(group, commands, "export",
               "Write a family of the catalogue to a family document file, with its strings "
               "files beside it",
               &RunFamilyExport);
    exported->add_option("-o,--output", options->output, "Family document file to write (*.xml)")
        ->required();
    SetExample(*exported,
               "  vardel family export \"Hexagon high nut ISO 4033\" -o iso4033.family.xml");
}

}  // namespace

std::string TypeName(const CEncapFamilyColumn& column) {
    return Utf8(DataTypes::DataTypeNum2Str(column.GetDataType()));
}

Json ColumnJson(const CEncapFamilyColumn& column) {
    std::wstring title;
    std::wstring formula;
    column.GetTitle(title);
    column.GetFormula(formula);
    return {{"id", Utf8(column.GetColumnID())},   {"title", Utf8(title)},
            {"type", TypeName(column)},           {"unit", Utf8(column.GetUnitType())},
            {"keyWeight", column.GetKeyWeight()}, {"hidden", column.IsHidden()},
            {"custom", column.IsCustom()},        {"formula", Utf8(formula)}};
}

void AddFamilyCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* family = app.add_subcommand(
        "family", "Read, check and edit one family document, from the catalogue or a file");
    family->require_subcommand(1);
    SetExample(*family,
               "  vardel family eval \"Hexagon regular nut ISO 4032\" --member M8\n"
               "  vardel family validate nut.family.xml");

    auto [show, shown] = AddSub(*family, commands, "show",
                                "Print the family's properties and columns", &RunFamilyShow);
    AddJsonFlag(*show, shown->json);
    SetExample(*show, "  vardel family show \"Hexagon regular nut ISO 4032\"");

    auto [table, tabled] =
        AddSub(*family, commands, "table", "Print the cells as stored: own values and formulas",
               &RunFamilyTable);
    AddSelection(*table, *tabled);
    AddJsonFlag(*table, tabled->json);
    SetExample(*table, "  vardel family table \"Hexagon regular nut ISO 4032\" --columns size,d");

    auto [eval, evaluated] =
        AddSub(*family, commands, "eval", "Print the members' evaluated values", &RunFamilyEval);
    AddSelection(*eval, *evaluated);
    AddJsonFlag(*eval, evaluated->json);
    SetExample(*eval, "  vardel family eval \"Hexagon regular nut ISO 4032\" --member M8");

    auto [validate, validated] =
        AddSub(*family, commands, "validate",
               "Check formulas, cells and key columns; exit 1 on findings", &RunFamilyValidate);
    AddJsonFlag(*validate, validated->json);
    SetExample(*validate, "  vardel family validate nut.family.xml --json");

    AddSet(*family, commands);
    AddEdit(*family, commands, "title", "Rename a column of a family document file in a language",
            "COLUMN TITLE",
            "  vardel family title M.family.xml d \"Nenndurchmesser\" --lang de-DE -o M.family.xml",
            &RunFamilyTitle);
    AddEdit(*family, commands, "map",
            "Map a column of a family document file to a category parameter of the family",
            "COLUMN PARAMETER (the parameter's id)",
            "  vardel family map M.family.xml d 530193e1-2a85-42e5-84e5-8c6231b1e468 -o "
            "M.family.xml",
            &RunFamilyMap);
    AddExport(*family, commands);
}

}  // namespace VardelTool
