// A GoogleMock double of the content-server backend, for tests that need to
// see which service calls the library makes and to make them fail.
#pragma once

#include <gmock/gmock.h>

#include "vardel/server_backend.h"

namespace VardelTest {

namespace tsp = TarnServerProxies;

class MockBackend : public tsp::IServerBackend {
public:
    using Guids = std::vector<tsp::Guid>;
    using Filter = tsp::Content::DBFilter;

    MOCK_METHOD(Guids, GetCategoryRoots, (const SecurityContext&, const std::wstring&, const Filter&),
                (override));
    MOCK_METHOD(Guids, GetCategoriesByParent,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&, bool, const Filter&),
                (override));
    MOCK_METHOD(Guids, GetFamiliesByCategory,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&, const Filter&),
                (override));
    MOCK_METHOD(Guids, GetCategoriesByFamily,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&), (override));
    MOCK_METHOD(tsp::Guid, GetParentCategory,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&), (override));
    MOCK_METHOD(Guids, GetAllFamilies, (const SecurityContext&, const std::wstring&), (override));
    MOCK_METHOD(tsp::PropertyValues, GetCategoryPropertyValues,
                (const SecurityContext&, const std::wstring&, const Guids&, const Guids&,
                 const std::wstring&),
                (override));
    MOCK_METHOD(tsp::PropertyValues, GetFamilyPropertyValues,
                (const SecurityContext&, const std::wstring&, const Guids&, const Guids&,
                 const std::wstring&),
                (override));
    MOCK_METHOD(tsp::PropertyValues, GetCategoryParameterPropertyValues,
                (const SecurityContext&, const std::wstring&, const Guids&, const Guids&,
                 const std::wstring&),
                (override));
    MOCK_METHOD(Guids, GetCategoryParametersByCategory,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&, bool), (override));
    MOCK_METHOD(Guids, GetCategoryParametersByParameter,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&), (override));
    MOCK_METHOD(std::wstring, GetCategoryTreeByFamily,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&, std::int32_t,
                 const std::wstring&),
                (override));
    MOCK_METHOD(std::wstring, Search,
                (const SecurityContext&, const std::wstring&, const tsp::Content::ContentQuery&,
                 bool),
                (override));
    MOCK_METHOD(void, GetFamilyAspect,
                (const SecurityContext&, const std::wstring&, const tsp::Guid&, const std::wstring&,
                 const std::wstring&, std::vector<std::uint8_t>&),
                (override));
    MOCK_METHOD(tsp::Guid, CurrentPartitionId, (), (override));
    MOCK_METHOD(std::vector<tsp::KnowledgeLibrary>, FindKnowledgeLibraries,
                (const SecurityContext&, const Guids&, const tsp::Guid&), (override));
    MOCK_METHOD(std::vector<tsp::KnowledgeLibrary>, FindKnowledgeLibrariesByNames,
                (const SecurityContext&, const std::vector<std::wstring>&), (override));
};

}  // namespace VardelTest
