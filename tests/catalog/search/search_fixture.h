// A small catalogue searched by every test of the suite, built once: the
// library "Main" with parameters d, l (numbers), size and note (texts), the
// categories Fasteners { Screws { Hex }, Nuts }, Other, and four families;
// the library "Second" shares parameter d and holds one more family with
// d = 8. Answers are parsed back and shown as short texts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/database.h"
#include "vardel/server_proxies.h"

namespace VardelCatalogTest {

using TarnServerProxies::Content::ContentQuery;
using TarnServerProxies::Content::QueryConstraint;
using TarnServerProxies::Content::QueryOperator;
using TarnServerProxies::Content::QueryReturn;

// Node numbers of the test catalogue (ids are TestGuid(number)).
enum : unsigned {
    kD = 10,
    kL = 11,
    kSize = 12,
    kNote = 13,
    kFasteners = 100,
    kScrews = 101,
    kHex = 102,
    kNuts = 103,
    kOther = 104,
    kSecondOnly = 105,
    kHexScrew = 200,     // in Hex: size, d, l = M6 6 20 | M8 8 30 | M8 8 40 | M10 10 50
    kScrew = 201,        // in Screws: M8 8.0 35 | X abc 25
    kNut = 202,          // in Nuts: size, d = M8 8 | M12 12
    kOddTexts = 203,     // in Other: note = the texts of kOddNotes
    kSecondNut = 300,    // library Second, in 100: d = 8
    kFirstSpare = 1000,  // 40 parameters of Main that no family maps
};

/// The notes of kOddTexts, rows r0, r1, ... in order.
extern const std::vector<std::wstring> kOddNotes;

/// TestGuid(n) as the catalogue serves it.
std::wstring Id(unsigned n);

/// A constraint on "Category", "ObjectID" or any field.
QueryConstraint Constraint(std::wstring property, QueryOperator op,
                           std::vector<std::wstring> values);
/// A constraint on the value of parameter TestGuid(parameter).
QueryConstraint ValueIs(unsigned parameter, QueryOperator op, std::vector<std::wstring> values,
                        std::optional<double> tolerance = std::nullopt);
QueryReturn Returning(std::wstring property, std::optional<std::wstring> returnAs,
                      std::optional<std::wstring> alias = std::nullopt);
ContentQuery Query(std::vector<QueryConstraint> constraints, std::vector<QueryReturn> returns = {});

class SearchTest : public ::testing::Test {
  public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    /// The answer of `query` on "Main" (or "Second").
    static std::wstring Answer(const ContentQuery& query, bool recursive = false,
                               bool second = false);
    /// The rows of the answer, each "<family number> name=value ..." with
    /// the attributes in answer order.
    static std::vector<std::wstring> Rows(const ContentQuery& query, bool recursive = false,
                                          bool second = false);
    /// The members matching `constraints`, each "<family number>/<row id>",
    /// separated by spaces.
    static std::wstring Members(std::vector<QueryConstraint> constraints, bool second = false);

    static VardelCatalog::Database& Database();
    /// The database id of "Main" (or "Second").
    static std::int64_t LibraryId(bool second = false);
};

}  // namespace VardelCatalogTest
