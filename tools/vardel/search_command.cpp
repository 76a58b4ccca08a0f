// vardel search and vardel results. A search turns the --where clauses into
// one search query (a property constraint per clause, a category constraint
// for --category, a member-id return and one value return per parameter
// shown), runs it with Vardel::Search in a search context over the readable
// libraries and prints one hit per member. With --store the hits become the
// stored results of that folder; vardel results lists them back.
#include <iostream>
#include <memory>

#include "category_lookup.h"
#include "commands.h"
#include "output.h"
#include "parameter_lookup.h"
#include "properties.h"
#include "root_items.h"
#include "session.h"
#include "store_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/search.h"
#include "where_clause.h"

namespace VardelTool {
namespace {

// The name under which each hit's member id comes back.
constexpr wchar_t kMemberAlias[] = L"MemberId";

struct SearchOptions {
    CatalogOptions catalog;
    FilterOptions filter;
    std::vector<std::string> where;
    std::vector<std::string> returns;
    std::string category;
    bool recursive = false;
    std::string tolerance;
    std::string store;
    bool json = false;
};

// A value the hits bring back: the parameter, the name the user gave it
// and the return name in the query. Return names are "v1_", "v2_", ...: XML
// names of which none begins with another, as the reading of rows needs.
struct ShownValue {
    CategoryParameter parameter;
    std::string label;
    std::wstring alias;
};

struct Hit {
    std::wstring family;
    std::wstring name;
    std::wstring member;
    std::wstring library;
    std::vector<std::wstring> values;  ///< One per shown value.
};

class QueryBuilder {
  public:
    QueryBuilder(const SearchOptions& options, ParameterIndex parameters)
        : options_(options), parameters_(std::move(parameters)) {}

    Status AddClause(const std::string& text);
    Status AddShown(const std::string& name);
    void AddCategory(const std::wstring& category);
    /// The member-id and value returns; call once, last.
    void AddReturns();

    Vardel::CSearchQueryData& query() { return query_; }
    const std::vector<ShownValue>& shown() const { return shown_; }

  private:
    const SearchOptions& options_;
    const ParameterIndex parameters_;
    Vardel::CSearchQueryData query_;
    std::vector<ShownValue> shown_;
};

Status QueryBuilder::AddClause(const std::string& text) {
    Result<WhereClause> clause = ParseWhere(text);
    if (!clause.ok()) {
        return clause.failure();
    }
    Result<CategoryParameter> parameter = parameters_.Find(clause.value().name);
    if (!parameter.ok()) {
        return parameter.failure();
    }
    auto* constraint = new Vardel::CSearchData(Vardel::CSearchData::SearchProperty);
    query_.AddConstraintData(constraint);
    constraint->AddAttribute(L"InternalName", parameter.value().id.c_str());
    constraint->AddAttribute(L"Operator", Wide(clause.value().op).c_str());
    if (!options_.tolerance.empty() && clause.value().op == "=") {
        constraint->AddAttribute(L"Tolerance", Wide(options_.tolerance).c_str());
    }
    for (const std::string& value : clause.value().values) {
        constraint->AddProperty(L"Value", Wide(value).c_str(), nullptr);
    }
    return AddShown(clause.value().name);
}

Status QueryBuilder::AddShown(const std::string& name) {
    Result<CategoryParameter> parameter = parameters_.Find(name);
    if (!parameter.ok()) {
        return parameter.failure();
    }
    for (const ShownValue& value : shown_) {
        if (value.parameter.id == parameter.value().id) {
            return std::nullopt;
        }
    }
    const std::wstring alias = L"v" + std::to_wstring(shown_.size() + 1) + L"_";
    shown_.push_back({parameter.value(), name, alias});
    return std::nullopt;
}

void QueryBuilder::AddCategory(const std::wstring& category) {
    auto* constraint = new Vardel::CSearchData(Vardel::CSearchData::SearchCategory);
    query_.AddConstraintData(constraint);
    constraint->AddAttribute(L"InternalName", category.c_str());
    constraint->AddAttribute(L"Operator", L"=");
}

void QueryBuilder::AddReturns() {
    auto* member = new Vardel::CSearchData(Vardel::CSearchData::SearchMember);
    query_.AddReturnsData(member);
    member->AddProperty(L"InternalName", kMemberAlias, &query_);
    for (const ShownValue& value : shown_) {
        auto* returned = new Vardel::CSearchData(Vardel::CSearchData::SearchProperty);
        query_.AddReturnsData(returned);
        returned->AddAttribute(L"InternalName", value.parameter.id.c_str());
        returned->AddProperty(L"Value", value.alias.c_str(), &query_);
    }
    query_.SetRecursive(options_.recursive);
}

// `library` is a library context that shows every category.
Status AddRecords(const Vardel::CContext& library, const SearchOptions& options,
                  QueryBuilder& builder) {
    for (const std::string& clause : options.where) {
        if (Status failed = builder.AddClause(clause)) {
            return failed;
        }
    }
    for (const std::string& name : options.returns) {
        if (Status failed = builder.AddShown(name)) {
            return failed;
        }
    }
    if (!options.category.empty()) {
        Result<Vardel::CBrowseId> category = FindCategory(library, options.category);
        if (!category.ok()) {
            return category.failure();
        }
        builder.AddCategory(category.value().GetInternalName());
    }
    builder.AddReturns();
    return std::nullopt;
}

// The hits of `ids`: names and libraries from the catalogue, values from
// what each hit brought back. A search item answers a key from its cache
// when the server does not answer it; the return names are no property
// keys of the server, so they are asked apart from the display name.
Result<std::vector<Hit>> ReadHits(const Vardel::CContext& context,
                                  const std::vector<Vardel::CBrowseId>& ids,
                                  const std::vector<ShownValue>& shown) {
    Result<std::vector<std::wstring>> names = ItemNames(context, ids);
    std::vector<std::wstring> aliases;
    for (const ShownValue& value : shown) {
        aliases.push_back(value.alias);
    }
    Result<PropertyRows> values = ReadItemProperties(context, ids, aliases);
    if (!names.ok() || !values.ok()) {
        return names.ok() ? values.failure() : names.failure();
    }
    std::vector<Hit> hits;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        Hit hit{ids[i].GetInternalName(), names.value()[i], {}, {}, values.value()[i]};
        Vardel::GetMemberID(ids[i], hit.member);
        if (Status failed = CheckCall(Vardel::GetLibrary(&context, ids[i], hit.library),
                                      "reading the library of a hit")) {
            return *failed;
        }
        hits.push_back(std::move(hit));
    }
    return hits;
}

void PrintHits(const std::vector<Hit>& hits, const std::vector<ShownValue>& shown, bool json) {
    if (json) {
        Json list = Json::array();
        for (const Hit& hit : hits) {
            Json values = Json::object();
            for (std::size_t v = 0; v < shown.size(); ++v) {
                values[shown[v].label] = Utf8(hit.values[v]);
            }
            list.push_back({{"family", Utf8(hit.family)},
                            {"name", Utf8(hit.name)},
                            {"member", Utf8(hit.member)},
                            {"library", Utf8(hit.library)},
                            {"values", std::move(values)}});
        }
        PrintJson({{"count", hits.size()}, {"hits", std::move(list)}});
        return;
    }
    TextTable table;
    std::vector<std::string> header{"family"};
    for (const ShownValue& value : shown) {
        header.push_back(value.label);
    }
    header.insert(header.end(), {"member id", "library"});
    table.AddRow(std::move(header));
    for (const Hit& hit : hits) {
        std::vector<std::string> row{Utf8(hit.name)};
        for (const std::wstring& value : hit.values) {
            row.push_back(Utf8(value));
        }
        row.insert(row.end(), {Utf8(hit.member), Utf8(hit.library)});
        table.AddRow(std::move(row));
    }
    table.Print(std::cout);
    std::cout << hits.size() << (hits.size() == 1 ? " hit\n" : " hits\n");
}

// The query of `options`, its names looked up in every category of the
// session's libraries, hidden ones too.
Result<std::unique_ptr<QueryBuilder>> BuildQuery(const Session& session,
                                                 const SearchOptions& options) {
    Vardel::FilterStruct everything;
    everything.SetEmptyFilter();
    Result<Vardel::CContext> library = session.MakeContext(Vardel::LibraryBrowsing, &everything);
    if (!library.ok()) {
        return library.failure();
    }
    Result<ParameterIndex> parameters = ParameterIndex::Read(library.value());
    if (!parameters.ok()) {
        return parameters.failure();
    }
    auto builder = std::make_unique<QueryBuilder>(options, std::move(parameters.value()));
    if (Status failed = AddRecords(library.value(), options, *builder)) {
        return *failed;
    }
    return builder;
}

Status RunSearch(const SearchOptions& options) {
    std::filesystem::path store;
    if (!options.store.empty()) {
        Result<std::filesystem::path> folder = OpenStoreFolder(options.store, StoreUse::Write);
        if (!folder.ok()) {
            return folder.failure();
        }
        store = folder.value();
    }
    Result<std::unique_ptr<Session>> session = Session::Open(options.catalog);
    if (!session.ok()) {
        return session.failure();
    }
    Result<std::unique_ptr<QueryBuilder>> builder = BuildQuery(*session.value(), options);
    if (!builder.ok()) {
        return builder.failure();
    }
    const Vardel::FilterStruct filter = MakeFilter(options.filter);
    Result<Vardel::CContext> context =
        session.value()->MakeContext(Vardel::SearchBrowsing, &filter, store);
    if (!context.ok()) {
        return context.failure();
    }
    std::vector<Vardel::CBrowseId> ids;
    if (Status failed = CheckCall(Vardel::Search(&context.value(), &builder.value()->query(), ids),
                                  "the search")) {
        return failed;
    }
    const std::vector<ShownValue>& shown = builder.value()->shown();
    Result<std::vector<Hit>> hits = ReadHits(context.value(), ids, shown);
    if (!hits.ok()) {
        return hits.failure();
    }
    if (!store.empty()) {
        if (Status failed = CheckCall(Vardel::StoreSearchResults(&context.value(), ids, false),
                                      "storing the results in " + Quoted(options.store))) {
            return failed;
        }
    }
    PrintHits(hits.value(), shown, options.json);
    return std::nullopt;
}

struct ResultsOptions {
    CatalogOptions catalog;
    std::string store;
    bool json = false;
};

Status RunResults(const ResultsOptions& options) {
    Result<StoreSession> setup =
        OpenStoreSession(options.catalog, options.store, StoreUse::Read, Vardel::SearchBrowsing);
    if (!setup.ok()) {
        return setup.failure();
    }
    Result<std::vector<RootItem>> results = ReadRootItems(setup.value().context);
    if (!results.ok()) {
        return results.failure();
    }
    PrintRootItems(results.value(), "results", options.json);
    return std::nullopt;
}

void AddResultsCommand(CLI::App& app, CommandSet& commands) {
    auto options = std::make_shared<ResultsOptions>();
    CLI::App* results =
        app.add_subcommand("results", "List the families of the search results kept in --store");
    AddStoreOption(*results, options->store, true);
    AddContextOptions(*results, options->catalog);
    AddJsonFlag(*results, options->json);
    SetExample(*results,
               "  vardel search --where \"Nominal diameter=8\" --store ~/.vardel\n"
               "  vardel results --store ~/.vardel");
    commands.Add(results, [options] { return Finish(RunResults(*options)); });
}

}  // namespace

void AddSearchCommands(CLI::App& app, CommandSet& commands) {
    auto options = std::make_shared<SearchOptions>();
    CLI::App* search = app.add_subcommand("search", "Find members by their parameter values");
    AddRepeatable(*search, "--where", options->where,
                  "NAME OP VALUE: a category parameter (display name, reference name or id) "
                  "compared with = != < <= > >= ~ (LIKE, % and _) or in (a comma list); "
                  "repeatable, all must hold")
        ->required();
    AddRepeatable(*search, "--return", options->returns,
                  "Also show this category parameter's value (repeatable)");
    search->add_option("--category", options->category,
                       "Only families of this category (id or display-name path)");
    search->add_flag("--recursive", options->recursive,
                     "With --category, also families of its sub-categories");
    search
        ->add_option("--tolerance", options->tolerance,
                     "Numbers within this distance match an = clause")
        ->check(CLI::NonNegativeNumber);
    AddStoreOption(*search, options->store, false);
    AddContextOptions(*search, options->catalog);
    AddFilterOptions(*search, options->filter);
    AddJsonFlag(*search, options->json);
    SetExample(*search,
               "  vardel search --where \"Nominal diameter=8\" --where \"Length<=30\"\n"
               "  vardel search --where \"Size in M6,M8\" --category Fasteners --recursive");
    commands.Add(search, [options] { return Finish(RunSearch(*options)); });
    AddResultsCommand(app, commands);
}

}  // namespace VardelTool
