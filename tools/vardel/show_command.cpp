// vardel show FAMILY: one family with its properties, the categories that
// hold it, every readable library holding a copy (and the one whose copy the
// merge chose: the newest), and its members as a table, their values
// evaluated by the family's table. With --thumbnail OUT, the family's
// thumbnail written to OUT instead.
#include <iostream>
#include <memory>

#include "category_lookup.h"
#include "commands.h"
#include "family_cells.h"
#include "family_document.h"
#include "family_lookup.h"
#include "output.h"
#include "properties.h"
#include "session.h"
#include "thumbnail_file.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"

namespace VardelTool {
namespace {

namespace Keys = Vardel::Constants;

struct ShowOptions {
    CatalogOptions catalog;
    std::string family;
    std::string thumbnail;  ///< The file to write the thumbnail to; empty for the report.
    bool json = false;
};

// The properties shown, with their labels in text and JSON.
struct PropertyLabel {
    const wchar_t* key;
    const char* text;
    const char* json;
};

constexpr PropertyLabel kProperties[] = {
    {Keys::FAM_DESCRIPTION, "description", "description"},
    {Keys::FAM_STANDARD, "standard", "standard"},
    {Keys::FAM_STANDORG, "standards org", "standardsOrganization"},
    {Keys::FAM_MANUFACTURER, "manufacturer", "manufacturer"},
    {Keys::FAM_DATATYPE, "kind", "kind"},
    {Keys::FAM_LASTMODTIME, "last modified", "lastModified"},
    {Keys::FAM_REVGUID, "revision", "revision"},
};

struct MemberColumn {
    std::wstring id;
    std::wstring title;
    std::wstring unit;
    bool hidden = false;
};

struct Member {
    std::wstring rowId;
    /// One evaluated value per column, in column order.
    std::vector<std::string> values;
};

struct MemberTable {
    std::vector<MemberColumn> columns;
    std::vector<Member> members;
};

struct LibraryCopy {
    std::wstring name;
    std::wstring lastModified;
};

struct FamilyReport {
    std::wstring id;
    std::wstring name;
    std::vector<std::wstring> properties;  ///< In kProperties order.
    std::wstring library;
    std::vector<std::wstring> categories;
    std::vector<LibraryCopy> copies;
    MemberTable table;
};

Status ReadProperties(const Vardel::CContext& context, const Vardel::CBrowseId& family,
                      FamilyReport& report) {
    std::vector<std::wstring> keys{Keys::FAM_DISPLAYNAME};
    for (const PropertyLabel& label : kProperties) {
        keys.push_back(label.key);
    }
    Result<PropertyRows> rows = ReadItemProperties(context, {family}, keys);
    if (!rows.ok()) {
        return rows.failure();
    }
    report.name = rows.value()[0][0];
    report.properties.assign(rows.value()[0].begin() + 1, rows.value()[0].end());
    return CheckCall(Vardel::GetLibrary(&context, family, report.library),
                     "reading the library of the family");
}

Status ReadCategories(const Vardel::CContext& context, const Vardel::CBrowseId& family,
                      FamilyReport& report) {
    std::vector<Vardel::CBrowseId> folders;
    if (Status failed = CheckCall(Vardel::GetFoldersByItem(&context, family, folders),
                                  "listing the categories of the family")) {
        return failed;
    }
    for (const Vardel::CBrowseId& folder : folders) {
        Result<std::wstring> path = CategoryPath(context, folder);
        if (!path.ok()) {
            return path.failure();
        }
        report.categories.push_back(path.value());
    }
    return std::nullopt;
}

// Asks each readable library on its own whether it holds the family.
Status ReadCopies(const Session& session, FamilyReport& report) {
    for (const std::wstring& library : session.Libraries()) {
        Result<Vardel::CContext> context = session.OneLibraryContext(library);
        if (!context.ok()) {
            return context.failure();
        }
        Vardel::CBrowseId copy;
        if (Vardel::CreateItemBrowseId(&context.value(), report.id, copy) != S_OK ||
            copy.IsNULL()) {
            continue;
        }
        Result<PropertyRows> time =
            ReadItemProperties(context.value(), {copy}, {Keys::FAM_LASTMODTIME});
        if (!time.ok()) {
            return time.failure();
        }
        report.copies.push_back({library, time.value()[0][0]});
    }
    return std::nullopt;
}

MemberTable ReadMembers(CEncapFamilyTable& table) {
    MemberTable members;
    const std::vector<CEncapFamilyColumn*> columns = TableColumns(table);
    for (const CEncapFamilyColumn* column : columns) {
        MemberColumn shown{column->GetColumnID(), {}, column->GetUnitType(), column->IsHidden()};
        column->GetTitle(shown.title);
        members.columns.push_back(std::move(shown));
    }
    for (const std::wstring& rowId : table.GetAllRowIDs()) {
        Member member{rowId, {}};
        for (const CEncapFamilyColumn* column : columns) {
            member.values.push_back(ShownValue(EvaluateCell(table, rowId, column->GetColumnID())));
        }
        members.members.push_back(std::move(member));
    }
    return members;
}

Result<FamilyReport> ReadReport(const Session& session, const Vardel::CContext& context,
                                const Vardel::CBrowseId& family) {
    FamilyReport report;
    report.id = family.GetInternalName();
    if (Status failed = ReadProperties(context, family, report)) {
        return *failed;
    }
    if (Status failed = ReadCategories(context, family, report)) {
        return *failed;
    }
    if (Status failed = ReadCopies(session, report)) {
        return *failed;
    }
    Result<FamilyDocument> document =
        OpenCatalogFamily(session, report.library, report.id, FamilyTexts::WithStrings);
    if (!document.ok()) {
        return document.failure();
    }
    if (CEncapFamilyTable* table = document.value().family->GetEncapFamilyTable()) {
        report.table = ReadMembers(*table);
    }
    return report;
}

Json MembersJson(const MemberTable& table) {
    Json members = Json::array();
    for (const Member& member : table.members) {
        Json values = Json::object();
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            values[Utf8(table.columns[c].id)] = member.values[c];
        }
        members.push_back({{"id", Utf8(member.rowId)}, {"values", std::move(values)}});
    }
    return members;
}

Json ToJson(const FamilyReport& report) {
    Json document = {{"id", Utf8(report.id)}, {"name", Utf8(report.name)}};
    for (std::size_t i = 0; i < std::size(kProperties); ++i) {
        document[kProperties[i].json] = Utf8(report.properties[i]);
    }
    document["library"] = Utf8(report.library);
    document["categories"] = TextList(report.categories);
    document["libraries"] = Json::array();
    for (const LibraryCopy& copy : report.copies) {
        document["libraries"].push_back({{"name", Utf8(copy.name)},
                                         {"lastModified", Utf8(copy.lastModified)},
                                         {"chosen", copy.name == report.library}});
    }
    document["columns"] = Json::array();
    for (const MemberColumn& column : report.table.columns) {
        document["columns"].push_back({{"id", Utf8(column.id)},
                                       {"title", Utf8(column.title)},
                                       {"unit", Utf8(column.unit)},
                                       {"hidden", column.hidden}});
    }
    document["members"] = MembersJson(report.table);
    return document;
}

void PrintMembers(const MemberTable& table) {
    std::cout << "Members (" << table.members.size() << ")\n";
    TextTable members;
    std::vector<std::string> header;
    for (const MemberColumn& column : table.columns) {
        if (!column.hidden) {
            header.push_back(Utf8(column.title) +
                             (column.unit.empty() ? "" : " (" + Utf8(column.unit) + ")"));
        }
    }
    header.push_back("member id");
    members.AddRow(std::move(header));
    for (const Member& member : table.members) {
        std::vector<std::string> row;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            if (!table.columns[c].hidden) {
                row.push_back(member.values[c]);
            }
        }
        row.push_back(Utf8(member.rowId));
        members.AddRow(std::move(row));
    }
    members.Print(std::cout, 2);
}

void PrintText(const FamilyReport& report) {
    std::cout << Printable(Utf8(report.name)) << '\n';
    TextTable properties;
    properties.AddRow({"id", Utf8(report.id)});
    for (std::size_t i = 0; i < std::size(kProperties); ++i) {
        properties.AddRow({kProperties[i].text, Utf8(report.properties[i])});
    }
    properties.AddRow({"library", Utf8(report.library)});
    properties.Print(std::cout, 2);
    std::cout << "Categories\n";
    TextTable categories;
    for (const std::wstring& path : report.categories) {
        categories.AddRow({Utf8(path)});
    }
    categories.Print(std::cout, 2);
    std::cout << "Libraries\n";
    TextTable copies;
    for (const LibraryCopy& copy : report.copies) {
        copies.AddRow({Utf8(copy.name), Utf8(copy.lastModified),
                       copy.name == report.library ? "chosen" : ""});
    }
    copies.Print(std::cout, 2);
    PrintMembers(report.table);
}

// The thumbnail of the chosen copy, as the catalogue answers it.
Status SaveThumbnail(const Vardel::CContext& context, const Vardel::CBrowseId& family,
                     const ShowOptions& options) {
    Result<PropertyRows> rows = ReadItemProperties(context, {family}, {Keys::FAM_ICON});
    if (!rows.ok()) {
        return rows.failure();
    }
    if (Status failed = WriteThumbnail(rows.value()[0][0], options.family, options.thumbnail)) {
        return failed;
    }
    std::cout << Printable(options.thumbnail) << '\n';
    return std::nullopt;
}

Status RunShow(const ShowOptions& options) {
    Result<std::unique_ptr<Session>> session = Session::Open(options.catalog);
    if (!session.ok()) {
        return session.failure();
    }
    Result<Vardel::CContext> context =
        session.value()->MakeContext(Vardel::LibraryBrowsing, nullptr);
    if (!context.ok()) {
        return context.failure();
    }
    Result<Vardel::CBrowseId> family = FindFamily(context.value(), options.family);
    if (!family.ok()) {
        return family.failure();
    }
    if (!options.thumbnail.empty()) {
        return SaveThumbnail(context.value(), family.value(), options);
    }
    Result<FamilyReport> report = ReadReport(*session.value(), context.value(), family.value());
    if (!report.ok()) {
        return report.failure();
    }
    if (options.json) {
        PrintJson(ToJson(report.value()));
    } else {
        PrintText(report.value());
    }
    return std::nullopt;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandSet& commands) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* show =
        app.add_subcommand("show", "Print a family: properties, categories, libraries and members");
    show->add_option("FAMILY", options->family, "Family id, or display name (any case)")
        ->required();
    AddContextOptions(*show, options->catalog);
    AddJsonFlag(*show, options->json);
    show->add_option("--thumbnail", options->thumbnail,
                     "Write the family's thumbnail to this file instead of printing the family")
        ->option_text("OUT")
        ->excludes("--json");
    SetExample(*show,
               "  vardel show \"Hexagon regular nut ISO 4032\"\n"
               "  vardel show \"Hexagon regular nut ISO 4032\" --thumbnail nut.png");
    commands.Add(show, [options] { return Finish(RunShow(*options)); });
}

}  // namespace VardelTool
