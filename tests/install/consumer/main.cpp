// A host program that uses only the installed headers and library: it must
// compile with the umbrella header alone and reach exported code.
#include <cstdio>
#include <list>
#include <string>

#include <vardel/vardel.h>

int main() {
    Vardel::CContext context;
    const std::list<std::wstring> libraries{L"Standard"};
    if (context.Initialize(Vardel::LibraryBrowsing, &libraries, nullptr, L"en", nullptr, nullptr) !=
            S_OK ||
        Vardel::GetLibraries(&context).size() != 1) {
        std::puts("context initialisation failed");
        return 1;
    }
    if (CStringUtil::NewGuid().size() != 36) {
        std::puts("no GUID");
        return 1;
    }
    // A family document whose cell holds an expression in millimetres,
    // evaluated by the reference provider shipped with the library.
    CEncapFamily family(
        L"<Family InternalName=\"f\"><FamilyTable><Columns>"
        L"<Column ColumnId=\"D\" ValueType=\"double\" UnitType=\"mm\"/>"
        L"</Columns><Rows><Row RowId=\"r1\"><Cell ColumnId=\"D\">2*4</Cell>"
        L"</Row></Rows></FamilyTable></Family>",
        {}, L"", new CReferenceEvaluatorProvider(), L"en", false);
    std::wstring value;
    if (family.GetEncapFamilyTable() == nullptr ||
        family.GetEncapFamilyTable()->GetValue(L"r1", L"D", value) != CTableEvaluator::Success ||
        value != L"8") {
        std::puts("family table not evaluated");
        return 1;
    }
    std::printf("consumer of vardel %s works\n", CVardelApp::Version());
    return 0;
}
