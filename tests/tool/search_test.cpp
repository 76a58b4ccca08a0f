// vardel search: every operator on numbers and texts, the three ways to
// name a parameter, categories with and without sub-categories, returned
// values, restricted libraries, hostile values; vardel results lists what
// --store kept, in a later run.
#include <set>

#include <gtest/gtest.h>

#include "test_catalog.h"

namespace VardelToolTest {
namespace {

using Hits = std::multiset<std::string>;

class SearchTest : public ToolTest {
  protected:
    // Each hit as "family name|size".
    Hits Search(std::vector<std::string> args) const {
        args.insert(args.begin(), "search");
        args.insert(args.end(), {"--return", "Size"});
        const nlohmann::json found = Json(args);
        Hits hits;
        for (const nlohmann::json& hit : found["hits"]) {
            hits.insert(hit["name"].get<std::string>() + "|" +
                        hit["values"]["Size"].get<std::string>());
        }
        EXPECT_EQ(found["count"], hits.size());
        return hits;
    }
};

struct OperatorCase {
    std::vector<std::string> args;
    Hits hits;
};

// The rows of a family come from the newest copy among the libraries that
// found it: when both copies of Screw A match, only Beta's rows show; when
// only Alpha's does (M4), Alpha's. Q is in a library nobody here may read.
TEST_F(SearchTest, EveryOperatorFamily) {
    const std::vector<OperatorCase> cases = {
        {{"--where", "Diameter=8"}, {"Screw A (Beta)|M8", "Tool B|S2", "Secret|X"}},
        {{"--where", "Diameter = 7.9", "--tolerance", "0.2"},
         {"Screw A (Beta)|M8", "Tool B|S2", "Secret|X"}},
        {{"--where", "Diameter!=8", "--where", "Diameter>3"}, {"Screw A (Beta)|M10", "Tool B|S1"}},
        {{"--where", "Diameter<4"}, {"Beta pin|P1", "Twin|T", "Twin|T"}},
        {{"--where", "Diameter<=4", "--where", "Diameter>=3"}, {"Beta pin|P1", "Screw A|M4"}},
        {{"--where", "Diameter>8"}, {"Screw A (Beta)|M10"}},
        {{"--where", "Size~m1%"}, {"Screw A (Beta)|M10"}},
        {{"--where", "Size~_1"}, {"Tool B|S1", "Beta pin|P1"}},
        {{"--where", "Size in M4, S1 ,Q"}, {"Screw A|M4", "Tool B|S1"}},
    };
    for (const OperatorCase& test : cases) {
        EXPECT_EQ(Search(test.args), test.hits) << test.args[1];
    }
}

TEST_F(SearchTest, ParametersByDisplayNameReferenceNameOrId) {
    const Hits eight = Search({"--where", "Diameter=8"});
    EXPECT_EQ(Search({"--where", "dia=8"}), eight);
    EXPECT_EQ(Search({"--where", std::string(kDiameter) + "=8"}), eight);
    EXPECT_EQ(Search({"--where", "Durchmesser=8", "--lang", "de-DE"}), eight);
    const ToolRun english = Run({"search", "--where", "Durchmesser=8"});
    EXPECT_EQ(english.exitCode, 1);
    EXPECT_EQ(english.err, "vardel: no category parameter named \"Durchmesser\"\n");
}

TEST_F(SearchTest, CategoriesAndReturnedValues) {
    EXPECT_EQ(Search({"--where", "Diameter=8", "--category", "Parts"}), Hits({"Tool B|S2"}));
    EXPECT_EQ(Search({"--where", "Diameter=8", "--category", "Parts", "--recursive"}),
              Hits({"Tool B|S2", "Screw A (Beta)|M8"}));
    const nlohmann::json found = Json({"search", "--where", "Diameter>=8", "--category",
                                       "parts/screws", "--return", "Length", "--return", "dia"});
    ASSERT_EQ(found["count"], 2);
    EXPECT_EQ(found["hits"][1]["values"], nlohmann::json({{"Diameter", "10"}, {"Length", "40"}}));
    EXPECT_EQ(found["hits"][1]["library"], "Beta");
    EXPECT_EQ(found["hits"][1]["family"], kScrew);
    EXPECT_EQ(found["hits"][1]["member"].get<std::string>().size(), 36u);

    const ToolRun text = Run({"search", "--where", "Size=S2"});
    EXPECT_EQ(text.exitCode, 0);
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 3u) << text.out;
    EXPECT_EQ(lines[0].substr(0, 28), "family  Size  member id     ");
    EXPECT_EQ(lines[2], "1 hit");
}

TEST_F(SearchTest, RestrictedLibrariesAndHostileValues) {
    EXPECT_FALSE(Search({"--where", "Diameter=8"}).contains("Private screw|Q"));
    EXPECT_TRUE(Search({"--where", "Diameter=8", "--user", "alice"}).contains("Private screw|Q"));
    for (const std::string value : {"M8' OR '1'='1", "%", "\"; DROP TABLE member; --"}) {
        EXPECT_EQ(Search({"--where", "Size=" + value}), Hits()) << value;
    }
}

TEST_F(SearchTest, StoredResultsSurviveTheRun) {
    const std::string store = NewStore("store");
    EXPECT_EQ(Search({"--where", "Diameter=8", "--store", store}).size(), 3u);
    const nlohmann::json kept = Json({"results", "--store", store});
    ASSERT_EQ(kept["count"], 3);
    std::set<std::string> names;
    for (const nlohmann::json& result : kept["results"]) {
        names.insert(result["name"].get<std::string>());
    }
    EXPECT_EQ(names, std::set<std::string>({"Screw A (Beta)", "Tool B", "Secret"}));

    EXPECT_EQ(Search({"--where", "Size=none", "--store", store}), Hits());
    EXPECT_EQ(Json({"results", "--store", store})["count"], 0);
}

}  // namespace
}  // namespace VardelToolTest
