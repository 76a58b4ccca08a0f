#include <gtest/gtest.h>

#include "xml_test_util.h"

namespace {

TEST(XmlNodeEdit, AddNodeSkipsEmptyTextAndIncompletePairs) {
    XMLParser parser = ParsedXml(L"<R/>");
    XMLNode root = parser.GetRootNode();
    XMLNode added = root.AddNode(L"A", L"", L"a", nullptr, L"b", L"2", nullptr, L"3");
    ASSERT_TRUE(added.IsNode());
    EXPECT_EQ(added.GetChildCount(), 0);
    EXPECT_EQ(XmlOf(added), L"<A b=\"2\"/>");
    EXPECT_EQ(XmlOf(root.AddNode(L"B", L"t", L"x", L"1", L"y", L"2", L"z", L"3")),
              L"<B x=\"1\" y=\"2\" z=\"3\">t</B>");
    EXPECT_FALSE(root.AddNode(L"not a name").IsNode());
    EXPECT_FALSE(root.AddNode(nullptr).IsNode());
    EXPECT_EQ(root.GetChildCount(), 2);
}

TEST(XmlNodeEdit, AddNodeBeforeNeedsAParent) {
    XMLParser parser = ParsedXml(L"<R><A/><C/></R>");
    XMLNode c;
    ASSERT_TRUE(parser.GetRootNode().GetChildNodeByIdx(1, c));
    EXPECT_TRUE(c.AddNodeBefore(L"B", L"b", L"k", L"v").IsNode());
    EXPECT_EQ(XmlOf(parser.GetRootNode()), L"<R><A/><B k=\"v\">b</B><C/></R>");
    // The root's parent is the document, which takes no second element.
    EXPECT_FALSE(parser.GetRootNode().AddNodeBefore(L"X").IsNode());
    XMLNode detached = parser.GetRootNode().CloneNode(false);
    EXPECT_FALSE(detached.AddNodeBefore(L"X").IsNode());
}

TEST(XmlNodeEdit, InsertChildOutOfRangeAppendsAndTextIsNeverMerged) {
    XMLParser parser = ParsedXml(L"<R>a<B/>c</R>");
    XMLNode root = parser.GetRootNode();
    XMLNode x = root.AddNode(L"X");
    ASSERT_TRUE(x.RemoveThisNode(false));
    EXPECT_TRUE(root.InsertChild(x, 99).IsNode());
    XMLNode y = root.AddNode(L"Y");
    EXPECT_TRUE(root.InsertChild(y, 0).IsNode());
    EXPECT_EQ(XmlOf(root), L"<R><Y/>a<B/>c<X/></R>");

    // Two text nodes side by side stay two nodes, and both stay valid.
    XMLNode a, c;
    ASSERT_TRUE(root.GetChildNodeByIdx(1, a));
    ASSERT_TRUE(root.GetChildNodeByIdx(3, c));
    EXPECT_TRUE(root.InsertChild(c, 2).IsNode());
    EXPECT_EQ(root.GetChildCount(), 5);
    EXPECT_EQ(TextOf(a), L"a");
    EXPECT_EQ(TextOf(c), L"c");
    EXPECT_EQ(XmlOf(root), L"<R><Y/>ac<B/><X/></R>");
}

TEST(XmlNodeEdit, AppendChildMovesAndRefusesImpossibleTargets) {
    XMLParser parser = ParsedXml(L"<R><A><B/></A><C/></R>");
    XMLNode root = parser.GetRootNode();
    XMLNode a, b, c;
    ASSERT_TRUE(root.GetChildNode(L"A", a));
    ASSERT_TRUE(a.GetChildNode(L"B", b));
    ASSERT_TRUE(root.GetChildNode(L"C", c));
    EXPECT_TRUE(c.AppendChild(b).IsSameNode(b));
    EXPECT_EQ(XmlOf(root), L"<R><A/><C><B/></C></R>");
    EXPECT_FALSE(b.AppendChild(c).IsNode());  // an ancestor
    EXPECT_FALSE(c.AppendChild(c).IsNode());
    EXPECT_FALSE(root.AppendChild(XMLNode()).IsNode());
    XMLNode document = root.GetParentNode();
    EXPECT_FALSE(document.AppendChild(a).IsNode());  // a second root element
    EXPECT_FALSE(root.AppendChild(document).IsNode());
    EXPECT_EQ(XmlOf(root), L"<R><A/><C><B/></C></R>");
}

TEST(XmlNodeEdit, AppendChildFromAnotherDocumentCopiesAndRemovesThere) {
    XMLParser target = ParsedXml(L"<T/>");
    XMLNode moved;
    {
        XMLParser source = ParsedXml(L"<S><M k='v'>m</M></S>");
        XMLNode m;
        ASSERT_TRUE(source.GetRootNode().GetChildNode(L"M", m));
        moved = target.GetRootNode().AppendChild(m);
        EXPECT_EQ(XmlOf(source), L"<S/>\n");
    }
    EXPECT_EQ(XmlOf(target), L"<T><M k=\"v\">m</M></T>\n");
    EXPECT_TRUE(moved.GetParentNode().IsSameNode(target.GetRootNode()));
}

TEST(XmlNodeEdit, RemovedAndClonedNodesOutliveTheirDocument) {
    XMLNode removed, clone, child;
    {
        XMLParser parser = ParsedXml(L"<R><A x='1'><B>b</B></A><C/></R>");
        XMLNode root = parser.GetRootNode();
        ASSERT_TRUE(root.GetChildNode(L"A", removed));
        clone = removed.CloneNode(true);
        ASSERT_TRUE(removed.RemoveThisNode(false));
        EXPECT_FALSE(removed.RemoveThisNode(false));  // no parent any more
        ASSERT_TRUE(removed.GetFirstChildNode(child));
        XMLNode c;
        ASSERT_TRUE(root.GetChildNode(L"C", c));
        ASSERT_TRUE(c.RemoveThisNode(true));
        EXPECT_FALSE(c.IsNode());
        EXPECT_EQ(XmlOf(root), L"<R/>");
        ASSERT_TRUE(parser.SetXml(L"<Other/>"));  // the old tree lives on in the nodes
    }
    EXPECT_EQ(XmlOf(removed), L"<A x=\"1\"><B>b</B></A>");
    EXPECT_EQ(XmlOf(clone), L"<A x=\"1\"><B>b</B></A>");
    EXPECT_EQ(TextOf(child), L"b");
    EXPECT_FALSE(clone.IsSameNode(removed));
    EXPECT_EQ(XmlOf(removed.CloneNode(false)), L"<A x=\"1\"/>");
}

TEST(XmlNodeEdit, RemoveChildNodeAndGetOrAddNode) {
    XMLParser parser = ParsedXml(L"<R><A/><A/><B/></R>");
    XMLNode root = parser.GetRootNode();
    EXPECT_TRUE(root.RemoveChildNode(L"Missing"));
    EXPECT_TRUE(root.RemoveChildNode(L"(((invalid"));
    EXPECT_TRUE(root.RemoveChildNode(L"A"));
    EXPECT_EQ(XmlOf(root), L"<R><A/><B/></R>");

    XMLNode b = root.GetOrAddNode(L"B");
    XMLNode existing;
    ASSERT_TRUE(root.GetChildNode(L"B", existing));
    EXPECT_TRUE(b.IsSameNode(existing));
    EXPECT_TRUE(root.GetOrAddNode(L"Settings").IsNode());
    EXPECT_FALSE(root.GetOrAddNode(L"[").IsNode());
    EXPECT_EQ(XmlOf(root), L"<R><A/><B/><Settings/></R>");
}

TEST(XmlNodeEdit, ImportNodeShallowDeepAndText) {
    XMLParser source = ParsedXml(
        L"<S><Leaf a='1' b='2'>text</Leaf><Mixed m='x'>lost<Inner>kept</Inner></Mixed></S>");
    XMLParser target = ParsedXml(L"<T/>");
    XMLNode root = target.GetRootNode();
    XMLNode leaf, mixed, text;
    ASSERT_TRUE(source.GetRootNode().GetChildNode(L"Leaf", leaf));
    ASSERT_TRUE(source.GetRootNode().GetChildNode(L"Mixed", mixed));
    ASSERT_TRUE(leaf.GetFirstChildNode(text));

    EXPECT_EQ(XmlOf(root.ImportNode(leaf, true)), L"<Leaf a=\"1\" b=\"2\">text</Leaf>");
    EXPECT_EQ(XmlOf(root.ImportNode(leaf, false)), L"<Leaf a=\"1\" b=\"2\"/>");
    EXPECT_EQ(XmlOf(root.ImportNode(mixed, true)), L"<Mixed m=\"x\"><Inner>kept</Inner></Mixed>");
    EXPECT_FALSE(root.ImportNode(text, true).IsNode());
    EXPECT_FALSE(root.ImportNode(source.GetRootNode().GetParentNode(), true).IsNode());
    EXPECT_EQ(root.GetChildCount(), 3);
    // The source is untouched.
    EXPECT_EQ(XmlOf(leaf), L"<Leaf a=\"1\" b=\"2\">text</Leaf>");
}

TEST(XmlNodeEdit, DeepImportOfAVeryDeepTree) {
    XMLParser parser = ParsedXml(L"<R/>");
    XMLNode node = parser.GetRootNode();
    for (int i = 0; i < 20000; ++i)
        node = node.AddNode(L"D");
    XMLParser target = ParsedXml(L"<T/>");
    XMLNode imported = target.GetRootNode().ImportNode(parser.GetRootNode(), true);
    ASSERT_TRUE(imported.IsNode());
    XMLNodeArray all;
    ASSERT_TRUE(target.GetNodesByTag(L"D", all));
    EXPECT_EQ(all.GetSize(), 20000);
}

}  // namespace
