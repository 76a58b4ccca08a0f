#include "xml/xpath_select.h"

#include "xml/quiet_errors.h"
#include "xml/simple_step.h"
#include "xml/xml_text.h"

namespace VardelXml {

std::optional<std::vector<xmlNodePtr>> Select(XmlTree& tree, xmlNodePtr context,
                                              const wchar_t* xpath, bool firstOnly) {
    if (xpath == nullptr)
        return std::nullopt;
    if (const auto step = ParseSimpleStep(xpath)) {
        std::vector<xmlNodePtr> nodes;
        SelectSimpleStep(context, *step, firstOnly, nodes);
        return nodes;
    }
    if (const auto path = ParseChildPath(xpath)) {
        std::vector<xmlNodePtr> nodes;
        SelectChildPath(context, *path, firstOnly, nodes);
        return nodes;
    }
    const QuietErrors quiet;
    xmlXPathCompExprPtr compiled = tree.Compile(ToXml(xpath));
    xmlXPathContextPtr evaluation = tree.XPathContext();
    if (compiled == nullptr || evaluation == nullptr)
        return std::nullopt;
    evaluation->node = context;
    xmlXPathObjectPtr result = xmlXPathCompiledEval(compiled, evaluation);
    if (result == nullptr)
        return std::nullopt;
    std::optional<std::vector<xmlNodePtr>> nodes;
    if (result->type == XPATH_NODESET) {
        nodes.emplace();
        const xmlNodeSetPtr set = result->nodesetval;
        const int count = set != nullptr ? set->nodeNr : 0;
        for (int i = 0; i < count && !(firstOnly && !nodes->empty()); ++i) {
            // Namespace nodes are not DOM nodes; callers never see them.
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                nodes->push_back(set->nodeTab[i]);
        }
    }
    xmlXPathFreeObject(result);
    return nodes;
}

}  // namespace VardelXml
