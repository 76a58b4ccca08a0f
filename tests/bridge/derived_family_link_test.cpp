#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "bridge_fixture.h"

namespace VardelTest {
namespace {

constexpr const wchar_t* kFamily = L"3F2504E0-4F89-11D3-9A0C-0305E82C3301";

class DerivedFamilyLink : public BridgeTest {
  protected:
    HRESULT Read(const std::string& aspect) {
        backend().Script(Method::GetFamilyAspect,
                         Reply::Bytes(std::vector<std::uint8_t>(aspect.begin(), aspect.end())));
        return P::GetDerivedFamilyLinkNamesOffline(context_, L"Metric", kFamily, names);
    }

    Vardel::DerivedFamilyLinkNames names{L"old library", L"old family"};
};

TEST_F(DerivedFamilyLink, ReadsBothNamesAndAsksForTheAspectOnce) {
    ASSERT_EQ(Read("<DerivedFamilyLink ParentLibraryName='Inch' ParentFamilyName='Hex \xC3\xB8'/>"),
              S_OK);
    EXPECT_EQ(names.parentLibraryName, L"Inch");
    EXPECT_EQ(names.parentFamilyName, L"Hex \u00f8");
    const RecordedCall& call = backend().OnlyCall();
    EXPECT_EQ(call.nodes, std::vector<tsp::Guid>{G(kFamily)});
    EXPECT_EQ(call.aspectName, L"DerivedFamilyLinkAspect");
}

TEST_F(DerivedFamilyLink, BytesBeforeTheRootAreSkippedAndUnreadableTextGivesEmptyNames) {
    ASSERT_EQ(Read("junk\x01\xFF<L ParentFamilyName='B'/>"), S_OK);
    EXPECT_EQ(names.parentLibraryName, L"");  // missing: empty, not kept
    EXPECT_EQ(names.parentFamilyName, L"B");
    ASSERT_EQ(Read("no markup at all"), S_OK);
    EXPECT_EQ(names.parentFamilyName, L"");
}

TEST_F(DerivedFamilyLink, MissingBytesAndFailuresLeaveTheNames) {
    EXPECT_EQ(Read(""), E_FAIL);
    backend().Fail(Method::GetFamilyAspect);
    EXPECT_EQ(P::GetDerivedFamilyLinkNamesOffline(context_, L"Metric", kFamily, names), E_FAIL);
    EXPECT_EQ(P::GetDerivedFamilyLinkNamesOffline(context_, L"Metric", L"not a guid", names),
              E_FAIL);
    EXPECT_EQ(P::GetDerivedFamilyLinkNamesOffline(noSecurity_, L"Metric", kFamily, names),
              E_INVALIDARG);
    EXPECT_EQ(names.parentLibraryName, L"old library");
    EXPECT_EQ(names.parentFamilyName, L"old family");
    EXPECT_EQ(backend().Calls().size(),
              2u);  // neither the bad id nor the refused context reached it
}

// A host's backend may throw something other than the proxy error; it must
// still end as a status, never reach the caller.
class ForeignThrowingBackend : public ScriptedBackend {
  public:
    void GetFamilyAspect(const SecurityContext&, const std::wstring&, const tsp::Guid&,
                         const std::wstring&, const std::wstring&,
                         std::vector<std::uint8_t>&) override {
        throw std::runtime_error("backend bug");
    }
    std::vector<tsp::Guid> GetAllFamilies(const SecurityContext&, const std::wstring&) override {
        throw 42;
    }
};

TEST_F(DerivedFamilyLink, AnyExceptionOfTheBackendBecomesEFail) {
    CVardelApp::Instance().AttachBackend(std::make_shared<ForeignThrowingBackend>());
    EXPECT_EQ(P::GetDerivedFamilyLinkNamesOffline(context_, L"Metric", kFamily, names), E_FAIL);
    Ids ids{L"kept"};
    EXPECT_EQ(P::GetAllFamilies(context_, L"Metric", ids), E_FAIL);
    EXPECT_EQ(ids, Ids{L"kept"});
}

}  // namespace
}  // namespace VardelTest
