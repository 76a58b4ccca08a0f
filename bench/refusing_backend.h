// A server backend for the benchmarks whose every service throws the proxy
// error: a benchmark derives from it and overrides only the services it
// measures, so that an unexpected call fails loudly instead of answering.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vardel/server_backend.h"

namespace VardelBench {

namespace tsp = TarnServerProxies;

class RefusingBackend : public tsp::IServerBackend {
  public:
    std::vector<tsp::Guid> GetCategoryRoots(const SecurityContext&, const std::wstring&,
                                            const tsp::Content::DBFilter&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    std::vector<tsp::Guid> GetCategoriesByParent(const SecurityContext&, const std::wstring&,
                                                 const tsp::Guid&, bool,
                                                 const tsp::Content::DBFilter&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    std::vector<tsp::Guid> GetFamiliesByCategory(const SecurityContext&, const std::wstring&,
                                                 const tsp::Guid&,
                                                 const tsp::Content::DBFilter&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    std::vector<tsp::Guid> GetCategoriesByFamily(const SecurityContext&, const std::wstring&,
                                                 const tsp::Guid&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    tsp::Guid GetParentCategory(const SecurityContext&, const std::wstring&,
                                const tsp::Guid&) override {
        return Refuse<tsp::Guid>();
    }
    std::vector<tsp::Guid> GetAllFamilies(const SecurityContext&, const std::wstring&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    tsp::PropertyValues GetCategoryPropertyValues(const SecurityContext&, const std::wstring&,
                                                  const std::vector<tsp::Guid>&,
                                                  const std::vector<tsp::Guid>&,
                                                  const std::wstring&) override {
        return Refuse<tsp::PropertyValues>();
    }
    tsp::PropertyValues GetFamilyPropertyValues(const SecurityContext&, const std::wstring&,
                                                const std::vector<tsp::Guid>&,
                                                const std::vector<tsp::Guid>&,
                                                const std::wstring&) override {
        return Refuse<tsp::PropertyValues>();
    }
    tsp::PropertyValues GetCategoryParameterPropertyValues(const SecurityContext&,
                                                           const std::wstring&,
                                                           const std::vector<tsp::Guid>&,
                                                           const std::vector<tsp::Guid>&,
                                                           const std::wstring&) override {
        return Refuse<tsp::PropertyValues>();
    }
    std::vector<tsp::Guid> GetCategoryParametersByCategory(const SecurityContext&,
                                                           const std::wstring&, const tsp::Guid&,
                                                           bool) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    std::vector<tsp::Guid> GetCategoryParametersByParameter(const SecurityContext&,
                                                            const std::wstring&,
                                                            const tsp::Guid&) override {
        return Refuse<std::vector<tsp::Guid>>();
    }
    std::wstring GetCategoryTreeByFamily(const SecurityContext&, const std::wstring&,
                                         const tsp::Guid&, std::int32_t,
                                         const std::wstring&) override {
        return Refuse<std::wstring>();
    }
    std::wstring Search(const SecurityContext&, const std::wstring&,
                        const tsp::Content::ContentQuery&, bool) override {
        return Refuse<std::wstring>();
    }
    void GetFamilyAspect(const SecurityContext&, const std::wstring&, const tsp::Guid&,
                         const std::wstring&, const std::wstring&,
                         std::vector<std::uint8_t>&) override {
        Refuse<int>();
    }
    tsp::Guid CurrentPartitionId() override { return Refuse<tsp::Guid>(); }
    std::vector<tsp::KnowledgeLibrary> FindKnowledgeLibraries(const SecurityContext&,
                                                              const std::vector<tsp::Guid>&,
                                                              const tsp::Guid&) override {
        return Refuse<std::vector<tsp::KnowledgeLibrary>>();
    }
    std::vector<tsp::KnowledgeLibrary> FindKnowledgeLibrariesByNames(
        const SecurityContext&, const std::vector<std::wstring>&) override {
        return Refuse<std::vector<tsp::KnowledgeLibrary>>();
    }

  private:
    template <class T>
    static T Refuse() {
        throw tsp::ProxyError("not part of this benchmark");
    }
};

}  // namespace VardelBench
