// CEncapFamilyTemplate and CEncapFamilyTemplateParameter over a template
// element of their own: the ids a template hands out, the parameters it
// reuses, lookups and deletions at any depth, and copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "family/support/family_xml.h"
#include "vardel/family_template.h"
#include "vardel/xml_parser.h"

namespace {

using namespace FamilyTest;

// The template element of `xml` (a "FamilyTemplates" text) in a document
// the test keeps alive.
struct TemplateDocument {
    explicit TemplateDocument(const std::wstring& xml) : document(xml.c_str()) {
        document.GetRootNode().GetChildNode(L"FamilyTemplate", element);
    }
    // The "Id" of every "GeneralizedParameter" of the document, in order.
    std::vector<std::wstring> Ids() const {
        XMLNodeArray parameters;
        document.GetRootNode().SelectChildNodes(L"//GeneralizedParameter", parameters);
        std::vector<std::wstring> ids(static_cast<std::size_t>(parameters.GetSize()));
        for (int i = 0; i < parameters.GetSize(); ++i) {
            parameters[i].GetProperty(L"Id", ids[static_cast<std::size_t>(i)]);
        }
        return ids;
    }

    XMLParser document;
    XMLNode element;
};

GeneralizedParameter Parameter(const std::wstring& id, Attributes more = {},
                               std::vector<GeneralizedParameter> children = {}) {
    more.insert(more.begin(), {L"Id", id});
    return {std::move(more), std::move(children)};
}

std::wstring Attribute(const CEncapFamilyTemplateParameter* parameter, const wchar_t* name) {
    std::wstring value;
    return parameter->GetXMLNode().GetProperty(name, value) ? value : L"<missing>";
}

TEST(FamilyTemplate, NextIdIsAboveEveryLoadedIdAtAnyDepth) {
    // 1, 5 and a nested 9 count; parameters without a number id are not
    // loaded, and neither is what they hold; a repeated id takes the last.
    const TemplateDocument doc(
        TemplatesXml({{{{L"Name", L"T"}},
                       {Parameter(L"1"),
                        Parameter(L"5", {}, {Parameter(L"9")}),
                        {{{L"ObjectType", L"x"}}, {Parameter(L"40")}},
                        Parameter(L"abc"),
                        Parameter(L"1", {{L"ObjectReferenceKey", L"dup"}})}}}));
    CEncapFamilyTemplate family(doc.element, nullptr);
    EXPECT_NE(family.GetParameter(9), nullptr);
    EXPECT_EQ(family.GetParameter(40), nullptr);
    EXPECT_EQ(Attribute(family.GetParameter(1), L"ObjectReferenceKey"), L"dup");

    const CEncapFamilyTemplateParameter* added = family.AddParameter(L"Len", L"");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetId(), 10);
    EXPECT_EQ(Attribute(added, L"ObjectReferenceKey"), L"Len");
    EXPECT_EQ(Attribute(added, L"SubObjectId"), L"");
    EXPECT_EQ(family.GetParameter(10), added);

    // An empty template starts at 1; ids are never reused.
    const TemplateDocument empty(TemplatesXml({{{{L"Name", L"E"}}, {}}}));
    CEncapFamilyTemplate fresh(empty.element, nullptr);
    EXPECT_EQ(fresh.AddParameter(L"a", L"")->GetId(), 1);
    EXPECT_TRUE(fresh.DeleteParameter(1));
    EXPECT_EQ(fresh.AddParameter(L"a", L"")->GetId(), 2);
    EXPECT_EQ(empty.Ids(), std::vector<std::wstring>{L"2"});
}

TEST(FamilyTemplate, AddParameterReturnsTheBoundOrTheMaterialParameter) {
    const TemplateDocument doc(TemplatesXml(
        {{{{L"Name", L"T"}},
          {Parameter(L"1", {{L"ObjectReferenceKey", L"Mass"}, {L"SubObjectId", L"Value"}}),
           Parameter(L"2", {{L"ObjectReferenceKey", L"k"},
                            {L"SubObjectId", L"Material"},
                            {L"ObjectType", L"kPartDocumentObject"}}),
           Parameter(L"3", {{L"ObjectReferenceKey", L"any"},
                            {L"SubObjectId", L"MATERIAL"},
                            {L"ObjectType", L"KPARTCOMPONENTDEFINITIONOBJECT"}})}}}));
    CEncapFamilyTemplate family(doc.element, nullptr);
    EXPECT_EQ(family.AddParameter(L"MASS", L"value")->GetId(), 1);
    EXPECT_EQ(family.AddParameter(L"other", L"material")->GetId(), 3);
    EXPECT_EQ(family.AddParameter(L"k", L"Material")->GetId(), 2);  // bound by key first
    EXPECT_EQ(family.AddParameter(L"Mass", L"")->GetId(), 4);
    EXPECT_EQ(doc.Ids(), (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));

    // No element to add to, or no id left: no parameter.
    CEncapFamilyTemplate detached;
    EXPECT_EQ(detached.AddParameter(L"a", L""), nullptr);
    const TemplateDocument full(TemplatesXml({{{{L"Name", L"F"}}, {Parameter(L"2147483647")}}}));
    CEncapFamilyTemplate exhausted(full.element, nullptr);
    EXPECT_EQ(exhausted.AddParameter(L"a", L""), nullptr);
    EXPECT_EQ(full.Ids(), std::vector<std::wstring>{L"2147483647"});
}

TEST(FamilyTemplate, ParametersAreFoundAndDeletedAtAnyDepth) {
    const TemplateDocument doc(TemplatesXml(
        {{{{L"Name", L"T"}},
          {Parameter(L"1", {}, {Parameter(L"2", {}, {Parameter(L"3")})}), Parameter(L"4")}}}));
    CEncapFamilyTemplate family(doc.element, nullptr);
    CEncapFamilyTemplateParameter* outer = family.GetParameter(1);
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->GetChild(3), family.GetParameter(3));
    EXPECT_EQ(outer->GetChild(4), nullptr);

    EXPECT_TRUE(family.DeleteParameter(3));
    EXPECT_FALSE(family.DeleteParameter(3));
    EXPECT_FALSE(outer->DeleteChild(4));  // not below 1
    EXPECT_EQ(doc.Ids(), (std::vector<std::wstring>{L"1", L"2", L"4"}));
    EXPECT_TRUE(family.DeleteParameter(1));  // with everything nested in it
    EXPECT_EQ(family.GetParameter(2), nullptr);
    EXPECT_EQ(doc.Ids(), std::vector<std::wstring>{L"4"});
}

TEST(FamilyTemplate, CopiesHoldParameterObjectsOfTheirOwn) {
    const TemplateDocument doc(
        TemplatesXml({{{{L"Name", L"T"}, {L"FileName", L"t.ipt"}},
                       {Parameter(L"1", {}, {Parameter(L"2")}), Parameter(L"5")}}}));
    CEncapFamilyTemplate original(doc.element, nullptr);
    CEncapFamilyTemplate copy(original);
    CEncapFamilyTemplate assigned;
    assigned = original;
    for (const CEncapFamilyTemplate* other : {&copy, &assigned}) {
        EXPECT_NE(other->GetParameter(2), original.GetParameter(2));
        ASSERT_NE(other->GetParameter(2), nullptr);
        EXPECT_EQ(other->GetParameter(2)->GetId(), 2);
    }
    // The copy keeps counting where the original was.
    EXPECT_EQ(copy.AddParameter(L"x", L"")->GetId(), 6);
    std::wstring name = L"<missing>";
    std::wstring file = L"<missing>";
    assigned.GetName(name);
    assigned.GetFileName(file);
    EXPECT_EQ(name + L"|" + file, L"T|t.ipt");
    CEncapFamilyTemplateParameter parameter(*copy.GetParameter(1));
    EXPECT_NE(parameter.GetChild(2), copy.GetParameter(2));
    std::wstring unit = L"kept";
    parameter.GetUnitType(unit);  // missing: unchanged
    parameter.SetUnitType(L"mm");
    EXPECT_EQ(unit + Attribute(copy.GetParameter(1), L"UnitType"), L"keptmm");
}

}  // namespace
