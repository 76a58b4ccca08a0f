// Loads libraries into a new catalogue database through INSERTs prepared
// once and reused for the whole load (one per table; member rows and values,
// the bulk of a catalogue, several rows per run). Ids come from the writer's
// own counters; positions count from 0. A source that names a category or
// parameter its library does not define is refused with a DatabaseError,
// as a violated reference would be. An image is written once, the first
// time a category or family names it; later ones refer to that row.
#include "store/catalog_writer.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "common/base64.h"
#include "source/sha1.h"
#include "store/bind_values.h"
#include "store/multi_row_insert.h"
#include "store/schema.h"
#include "store/search_statement.h"

namespace VardelCatalog {
namespace {

constexpr std::string_view kInsertLibrary =
    "INSERT INTO library (id, name, guid, default_language, restricted) VALUES (?, ?, ?, ?, ?)";
constexpr std::string_view kInsertReader =
    "INSERT INTO library_reader (library_id, user_name) VALUES (?, ?)";
constexpr std::string_view kInsertImage =
    "INSERT INTO image (id, digest, media_type, data) VALUES (?, ?, ?, ?)";
constexpr std::string_view kInsertCategory =
    "INSERT INTO category (id, library_id, guid, parent_id, position, last_position, hidden,"
    " hidden_path, domain, mnemonic, special_authoring, image_id, last_modified, revision, name)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kInsertCategoryName =
    "INSERT INTO category_name (category_id, language, name) VALUES (?, ?, ?)";
constexpr std::string_view kInsertCategoryParameter =
    "INSERT INTO category_parameter (category_id, parameter_id, position) VALUES (?, ?, ?)";
constexpr std::string_view kInsertParameter =
    "INSERT INTO parameter (id, library_id, guid, value_type, unit_type, ref_name,"
    " uses_definition, localized, optional, repeatable, no_index, definition_only,"
    " applies_to_member, parent_category_id, name)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kInsertParameterName =
    "INSERT INTO parameter_name (parameter_id, language, name) VALUES (?, ?, ?)";
constexpr std::string_view kInsertFamily =
    "INSERT INTO family (id, library_id, guid, position, is_feature, standard,"
    " standards_organization, manufacturer, folder_name, last_modified, revision, image_id,"
    " parent_library_name, parent_family_name, member_count, display_name, description)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kInsertFamilyName =
    "INSERT INTO family_name (family_id, language, display_name, description)"
    " VALUES (?, ?, ?, ?)";
constexpr std::string_view kInsertFamilyDocument =
    "INSERT INTO family_document (family_id, document) VALUES (?, ?)";
constexpr std::string_view kInsertFamilyStrings =
    "INSERT INTO family_strings (family_id, language, document) VALUES (?, ?, ?)";
constexpr std::string_view kInsertFamilyCategory =
    "INSERT INTO family_category (category_id, family_id) VALUES (?, ?)";
// Rows of these two are written in groups, see MultiRowInsert.
constexpr std::string_view kInsertMembers =
    "INSERT INTO member (id, family_id, row_id, position) VALUES";
constexpr std::string_view kInsertMemberValues =
    "INSERT INTO member_value (member_id, parameter_id, text_value, number_value) VALUES";
constexpr std::string_view kInsertInfo = "INSERT INTO catalog_info (name, value) VALUES (?, ?)";

template <typename... Values>
void Insert(Statement& statement, const Values&... values) {
    BindValues(statement, values...);
    RunAndReset(statement);
}

Database& CreateSchema(Database& database) {
    for (std::string_view table : SchemaTables()) {
        database.Execute(table);
    }
    return database;
}

// The text a node answers for a language it has no text in: the default
// language's, else that of the first language (in byte order) that has one.
const std::wstring& FallbackText(const LocalizedTexts& texts, const std::wstring& defaultLanguage) {
    static const std::wstring kNone;
    const auto preferred = texts.find(defaultLanguage);
    if (preferred != texts.end() && !preferred->second.empty()) {
        return preferred->second;
    }
    for (const auto& [language, text] : texts) {
        if (!text.empty()) {
            return text;
        }
    }
    return kNone;
}

std::int64_t IdOf(const std::map<Guid, std::int64_t>& ids, const Guid& guid, const char* kind) {
    const auto found = ids.find(guid);
    if (found == ids.end()) {
        throw DatabaseError(std::string(kind) + " " + VardelCommon::ToUtf8(guid.ToString()) +
                            " is not defined by the library");
    }
    return found->second;
}

}  // namespace

struct CatalogWriter::Impl {
    explicit Impl(Database& database)
        : db(CreateSchema(database)),
          library(db.Prepare(kInsertLibrary)),
          reader(db.Prepare(kInsertReader)),
          image(db.Prepare(kInsertImage)),
          category(db.Prepare(kInsertCategory)),
          categoryName(db.Prepare(kInsertCategoryName)),
          categoryParameter(db.Prepare(kInsertCategoryParameter)),
          parameter(db.Prepare(kInsertParameter)),
          parameterName(db.Prepare(kInsertParameterName)),
          family(db.Prepare(kInsertFamily)),
          familyName(db.Prepare(kInsertFamilyName)),
          familyDocument(db.Prepare(kInsertFamilyDocument)),
          familyStrings(db.Prepare(kInsertFamilyStrings)),
          familyCategory(db.Prepare(kInsertFamilyCategory)),
          info(db.Prepare(kInsertInfo)),
          members(db, kInsertMembers, 4),
          memberValues(db, kInsertMemberValues, 4) {}

    std::optional<std::int64_t> AddImage(const ImageSource& source);
    void AddReaders(const std::vector<std::wstring>& readers);
    void AssignParameterIds(const std::vector<ParameterSource>& parameters, std::int64_t firstId);
    void AddCategory(const CategorySource& source, std::optional<std::int64_t> parentId,
                     bool parentHidden);
    void AddParameter(const ParameterSource& source, std::int64_t id);
    void AddFamilyNames(std::int64_t familyId, const FamilySource& source);
    void AddFamilyCategories(std::int64_t familyId, const FamilySource& source);
    void MapParameters(const FamilySource& source);
    void AddMembers(std::int64_t familyId, const FamilySource& source);

    Database& db;
    std::unique_ptr<Statement> library, reader, image, category, categoryName, categoryParameter,
        parameter, parameterName, family, familyName, familyDocument, familyStrings, familyCategory,
        info;
    MultiRowInsert members;
    MultiRowInsert memberValues;

    std::int64_t nextLibraryId = 1;
    std::int64_t nextImageId = 1;
    std::int64_t nextCategoryId = 1;
    std::int64_t nextParameterId = 1;
    std::int64_t nextFamilyId = 1;
    std::int64_t nextMemberId = 1;

    // Every image written, by the digest of its bytes.
    std::map<std::string, std::int64_t> imageIds;

    // The library added last: its id (0 before the first) and default
    // language, ids of its categories and parameters by GUID, its next
    // positions.
    std::int64_t libraryId = 0;
    std::wstring defaultLanguage;
    std::map<Guid, std::int64_t> categoryIds;
    std::map<Guid, std::int64_t> parameterIds;
    std::map<std::int64_t, std::int64_t> firstCategoryOfParameter;
    std::int64_t nextCategoryPosition = 0;
    std::int64_t nextFamilyPosition = 0;

    // Of the family being added: the ids of its mapped parameters and its
    // member values, kept to reuse their memory.
    struct Value {
        std::int64_t memberId;
        std::int64_t parameterId;
        const std::wstring* text;
    };
    std::vector<std::int64_t> mappedParameters;
    std::vector<Value> values;
};

// The row of the image, written when it is new; none for no image.
std::optional<std::int64_t> CatalogWriter::Impl::AddImage(const ImageSource& source) {
    if (source.bytes.empty()) {
        return std::nullopt;
    }
    const auto [at, added] = imageIds.emplace(Sha1Hex(source.bytes), nextImageId);
    if (added) {
        Insert(*image, nextImageId++, at->first, source.mediaType,
               VardelCommon::EncodeBase64(source.bytes));
    }
    return at->second;
}

void CatalogWriter::Impl::AddReaders(const std::vector<std::wstring>& readers) {
    std::vector<std::wstring> unique = readers;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    for (const std::wstring& user : unique) {
        Insert(*reader, libraryId, user);
    }
}

// Parameters are numbered before the categories that list them are
// written, and written after, with the first category that lists them. A
// repeated GUID keeps its first id; its second row fails the table's
// uniqueness.
void CatalogWriter::Impl::AssignParameterIds(const std::vector<ParameterSource>& parameters,
                                             std::int64_t firstId) {
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        parameterIds.emplace(parameters[i].id, firstId + static_cast<std::int64_t>(i));
    }
}

// Pre-order: a category's position precedes its descendants', and its row
// is written once they are numbered, with the position of the last one.
void CatalogWriter::Impl::AddCategory(const CategorySource& source,
                                      std::optional<std::int64_t> parentId, bool parentHidden) {
    const std::int64_t id = nextCategoryId++;
    const std::int64_t position = nextCategoryPosition++;
    const bool hiddenPath = parentHidden || source.hidden;
    categoryIds.emplace(source.id, id);
    for (const auto& [language, name] : source.names) {
        Insert(*categoryName, id, language, name);
    }
    for (std::size_t i = 0; i < source.parameters.size(); ++i) {
        const std::int64_t parameterId = IdOf(parameterIds, source.parameters[i], "parameter");
        Insert(*categoryParameter, id, parameterId, i);
        firstCategoryOfParameter.emplace(parameterId, id);
    }
    for (const CategorySource& child : source.children) {
        AddCategory(child, id, hiddenPath);
    }
    Insert(*category, id, libraryId, source.id, parentId, position, nextCategoryPosition - 1,
           source.hidden, hiddenPath, source.domain, source.mnemonic, source.specialAuthoring,
           AddImage(source.iconImage), source.lastModified, source.revisionId,
           FallbackText(source.names, defaultLanguage));
}

void CatalogWriter::Impl::AddParameter(const ParameterSource& source, std::int64_t id) {
    const auto first = firstCategoryOfParameter.find(id);
    std::optional<std::int64_t> parentCategory;
    if (first != firstCategoryOfParameter.end()) {
        parentCategory.emplace(first->second);
    }
    const std::wstring usesDefinition =
        source.usesDefinition ? source.usesDefinition->ToString() : std::wstring();
    Insert(*parameter, id, libraryId, source.id, source.valueType, source.unitType, source.refName,
           usesDefinition, source.localized, source.optional, source.repeatable, source.noIndex,
           source.definitionOnly, source.appliesToMember, parentCategory,
           FallbackText(source.names, defaultLanguage));
    for (const auto& [language, name] : source.names) {
        Insert(*parameterName, id, language, name);
    }
}

// One row per language that has a display name or a description; the
// other text of that language is empty.
void CatalogWriter::Impl::AddFamilyNames(std::int64_t familyId, const FamilySource& source) {
    static const std::wstring kNone;
    auto name = source.displayNames.begin();
    auto description = source.descriptions.begin();
    const auto nameEnd = source.displayNames.end();
    const auto descriptionEnd = source.descriptions.end();
    while (name != nameEnd || description != descriptionEnd) {
        const bool hasName =
            name != nameEnd && (description == descriptionEnd || name->first <= description->first);
        const bool hasDescription =
            description != descriptionEnd && (name == nameEnd || description->first <= name->first);
        Insert(*familyName, familyId, hasName ? name->first : description->first,
               hasName ? name->second : kNone, hasDescription ? description->second : kNone);
        name = hasName ? std::next(name) : name;
        description = hasDescription ? std::next(description) : description;
    }
}

void CatalogWriter::Impl::AddFamilyCategories(std::int64_t familyId, const FamilySource& source) {
    for (auto guid = source.categories.begin(); guid != source.categories.end(); ++guid) {
        if (std::find(source.categories.begin(), guid, *guid) == guid) {
            Insert(*familyCategory, IdOf(categoryIds, *guid, "category"), familyId);
        }
    }
}

void CatalogWriter::Impl::MapParameters(const FamilySource& source) {
    mappedParameters.clear();
    for (const ParameterColumn& mapped : source.parameterColumns) {
        mappedParameters.push_back(IdOf(parameterIds, mapped.parameter, "parameter"));
    }
    for (const MemberSource& member : source.members) {
        if (member.values.size() != mappedParameters.size()) {
            throw DatabaseError("family " + VardelCommon::ToUtf8(source.id.ToString()) +
                                " has a member without one value per mapped column");
        }
    }
}

// A member's empty value is no row.
void CatalogWriter::Impl::AddMembers(std::int64_t familyId, const FamilySource& source) {
    const std::int64_t firstId = nextMemberId;
    nextMemberId += static_cast<std::int64_t>(source.members.size());
    values.clear();
    for (std::size_t position = 0; position < source.members.size(); ++position) {
        const MemberSource& row = source.members[position];
        for (std::size_t i = 0; i < mappedParameters.size(); ++i) {
            if (!row.values[i].empty()) {
                values.push_back({firstId + static_cast<std::int64_t>(position),
                                  mappedParameters[i], &row.values[i]});
            }
        }
    }
    members.Insert(source.members.size(), [&](Statement& statement, int offset, std::size_t i) {
        BindValuesAt(statement, offset, firstId + static_cast<std::int64_t>(i), familyId,
                     source.members[i].rowId, i);
    });
    memberValues.Insert(values.size(), [&](Statement& statement, int offset, std::size_t i) {
        const Value& value = values[i];
        BindValuesAt(statement, offset, value.memberId, value.parameterId, *value.text,
                     NumberOfText(*value.text));
    });
}

CatalogWriter::CatalogWriter(Database& database) : impl_(std::make_unique<Impl>(database)) {}

CatalogWriter::~CatalogWriter() = default;

void CatalogWriter::AddLibrary(const LibrarySource& source) {
    Impl& impl = *impl_;
    impl.libraryId = impl.nextLibraryId++;
    impl.defaultLanguage = source.defaultLanguage;
    impl.categoryIds.clear();
    impl.parameterIds.clear();
    impl.firstCategoryOfParameter.clear();
    impl.nextCategoryPosition = 0;
    impl.nextFamilyPosition = 0;
    Insert(*impl.library, impl.libraryId, source.name, source.id, source.defaultLanguage,
           !source.readers.empty());
    impl.AddReaders(source.readers);
    const std::int64_t firstParameterId = impl.nextParameterId;
    impl.nextParameterId += static_cast<std::int64_t>(source.parameters.size());
    impl.AssignParameterIds(source.parameters, firstParameterId);
    for (const CategorySource& root : source.categories) {
        impl.AddCategory(root, std::nullopt, false);
    }
    for (std::size_t i = 0; i < source.parameters.size(); ++i) {
        impl.AddParameter(source.parameters[i], firstParameterId + static_cast<std::int64_t>(i));
    }
}

void CatalogWriter::AddFamily(const FamilySource& source) {
    Impl& impl = *impl_;
    if (impl.libraryId == 0) {
        throw DatabaseError("a family was added before any library");
    }
    impl.MapParameters(source);
    const std::int64_t id = impl.nextFamilyId++;
    Insert(*impl.family, id, impl.libraryId, source.id, impl.nextFamilyPosition++, source.isFeature,
           source.standard, source.standardsOrganization, source.manufacturer, source.folderName,
           source.lastModified, source.revisionId, impl.AddImage(source.thumbnailImage),
           source.parentLibraryName, source.parentFamilyName, source.members.size(),
           FallbackText(source.displayNames, impl.defaultLanguage),
           FallbackText(source.descriptions, impl.defaultLanguage));
    impl.AddFamilyNames(id, source);
    Insert(*impl.familyDocument, id, source.document);
    for (const auto& [language, document] : source.strings) {
        Insert(*impl.familyStrings, id, language, document);
    }
    impl.AddFamilyCategories(id, source);
    impl.AddMembers(id, source);
}

void CatalogWriter::Finish() {
    Insert(*impl_->info, std::string_view("format"), kCatalogFormat);
    Insert(*impl_->info, std::string_view("partition"), kCatalogPartition);
    for (std::string_view index : SchemaIndexes()) {
        impl_->db.Execute(index);
    }
    for (std::string_view table : AnalyzedTables()) {
        impl_->db.Execute(std::string("ANALYZE ").append(table));
    }
}

}  // namespace VardelCatalog
