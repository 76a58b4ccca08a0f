// The XML layer against libxml2 itself on a family-like document: a table of
// N rows by 30 cells (about 5 MB at 5,000 rows). Measures libxml2's own parse
// of the UTF-8 bytes (the baseline, hence the one libxml2 include outside the
// layer), XMLParser::SetXml of the same text, the per-row cell lookup by the
// family table's XPath forms, and serialisation with GetXml.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <map>
#include <string>

#include "common/utf8.h"
#include "vardel/xml_parser.h"

namespace {

constexpr int kColumns = 30;

// The text of a family document with `rows` rows, laid out as a formatted
// save lays it out.
std::wstring FamilyText(int rows) {
    std::wstring text = L"<Family Name=\"Hex bolt\">\n  <Table>\n    <Columns>";
    for (int c = 0; c < kColumns; ++c) {
        text += L"\n      <Column ColumnId=\"c" + std::to_wstring(c) + L"\" Type=\"Real\"/>";
    }
    text += L"\n    </Columns>\n    <Rows>";
    for (int r = 0; r < rows; ++r) {
        text += L"\n    <Row RowId=\"R" + std::to_wstring(r) + L"\">";
        for (int c = 0; c < kColumns; ++c) {
            text += L"\n    <Cell ColumnId=\"c" + std::to_wstring(c) + L"\">" +
                    std::to_wstring(r % 97) + L"." + std::to_wstring(c) + L"</Cell>";
        }
        text += L"\n    </Row>";
    }
    return text + L"\n    </Rows>\n  </Table>\n</Family>\n";
}

const std::wstring& CachedText(int rows) {
    static std::map<int, std::wstring> texts;
    auto found = texts.find(rows);
    if (found == texts.end())
        found = texts.emplace(rows, FamilyText(rows)).first;
    return found->second;
}

void BM_Libxml2ParseUtf8(benchmark::State& state) {
    const std::string bytes = VardelCommon::ToUtf8(CachedText(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        xmlDocPtr doc =
            xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8", 0);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_XmlParserSetXml(benchmark::State& state) {
    const std::wstring& text = CachedText(static_cast<int>(state.range(0)));
    const std::size_t bytes = VardelCommon::ToUtf8(text).size();
    for (auto _ : state) {
        XMLParser parser;
        benchmark::DoNotOptimize(parser.SetXml(text.c_str()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// One cell in each of the first range(1) rows of a document of range(0)
// rows, the way a family row finds its cell: exact form, or the
// case-insensitive fallback through ms:string-compare. Looking up 500 rows
// of the 5,000-row document separates the cost of a lookup from the cache
// misses of walking a tree that no longer fits the processor's caches.
void CellLookup(benchmark::State& state, const wchar_t* xpath) {
    XMLParser parser;
    parser.SetXml(CachedText(static_cast<int>(state.range(0))).c_str());
    XMLNodeArray rows;
    parser.GetRootNode().SelectChildNodes(L"Table/Rows/Row", rows);
    rows.SetSize(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        for (int r = 0; r < rows.GetSize(); ++r) {
            XMLNode cell;
            benchmark::DoNotOptimize(rows[r].GetChildNode(xpath, cell));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * rows.GetSize());
}

void BM_CellLookupExact(benchmark::State& state) {
    CellLookup(state, L"Cell[@ColumnId=\"c17\"]");
}

void BM_CellLookupNoCase(benchmark::State& state) {
    CellLookup(state, L"Cell[ms:string-compare(@ColumnId, 'C17', '' , 'i' ) = 0 ]");
}

void BM_XmlParserGetXml(benchmark::State& state) {
    XMLParser parser;
    parser.SetXml(CachedText(static_cast<int>(state.range(0))).c_str());
    std::size_t length = 0;
    for (auto _ : state) {
        std::wstring xml;
        parser.GetXml(xml);
        length = xml.size();
        benchmark::DoNotOptimize(xml.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(length));
}

}  // namespace

BENCHMARK(BM_Libxml2ParseUtf8)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlParserSetXml)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellLookupExact)
    ->Args({500, 500})
    ->Args({5000, 500})
    ->Args({5000, 5000})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellLookupNoCase)
    ->Args({500, 500})
    ->Args({5000, 500})
    ->Args({5000, 5000})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_XmlParserGetXml)->Arg(5000)->Unit(benchmark::kMillisecond);
