// A content-server backend for tests that records every call with all its
// arguments and answers from a script. Replies are queued per service method
// and used in order; a call with no queued reply gets an empty answer. A
// reply may instead be a failure, which the call throws as the proxy error.
// One thread at a time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "vardel/server_backend.h"

namespace VardelTest {

namespace tsp = TarnServerProxies;

enum class Method {
    GetCategoryRoots,
    GetCategoriesByParent,
    GetFamiliesByCategory,
    GetCategoriesByFamily,
    GetParentCategory,
    GetAllFamilies,
    GetCategoryPropertyValues,
    GetFamilyPropertyValues,
    GetCategoryParameterPropertyValues,
    GetCategoryParametersByCategory,
    GetCategoryParametersByParameter,
    GetCategoryTreeByFamily,
    Search,
    GetFamilyAspect,
    CurrentPartitionId,
    FindKnowledgeLibraries,
    FindKnowledgeLibrariesByNames,
};

const char* MethodName(Method method);
void PrintTo(Method method, std::ostream* os);

/// The arguments of one call; fields the method does not take stay empty.
struct RecordedCall {
    Method method{};
    std::optional<tsp::Security::SecurityContext> security;
    std::wstring library;
    /// The node (parent, category, family, parameter) or the node or library ids.
    std::vector<tsp::Guid> nodes;
    std::vector<tsp::Guid> keys;
    std::vector<std::wstring> names;
    std::wstring language;
    /// allLevels, the category-parameter flag or the recursive flag.
    std::optional<bool> flag;
    std::optional<tsp::Content::DBFilter> filter;
    std::optional<tsp::Content::ContentQuery> query;
    std::int32_t treeType = 0;
    std::wstring aspectName;
    std::wstring reserved;
    tsp::Guid partition;
};

/// The answer of one call: the field of its result type, or a failure.
struct Reply {
    std::vector<tsp::Guid> ids;
    tsp::Guid id;
    tsp::PropertyValues values;
    std::wstring text;
    std::vector<std::uint8_t> bytes;
    std::vector<tsp::KnowledgeLibrary> libraries;
    std::optional<std::string> failure;

    static Reply Ids(std::vector<tsp::Guid> ids) { return With<&Reply::ids>(std::move(ids)); }
    static Reply Id(tsp::Guid id) { return With<&Reply::id>(id); }
    static Reply Values(tsp::PropertyValues values) {
        return With<&Reply::values>(std::move(values));
    }
    static Reply Text(std::wstring text) { return With<&Reply::text>(std::move(text)); }
    static Reply Bytes(std::vector<std::uint8_t> bytes) {
        return With<&Reply::bytes>(std::move(bytes));
    }
    static Reply Libraries(std::vector<tsp::KnowledgeLibrary> libraries) {
        return With<&Reply::libraries>(std::move(libraries));
    }
    static Reply Failure(std::string message) { return With<&Reply::failure>(std::move(message)); }

  private:
    // A reply whose member `field` holds `value`, every other member empty.
    template <auto field, typename T>
    static Reply With(T value) {
        Reply reply;
        reply.*field = std::move(value);
        return reply;
    }
};

class ScriptedBackend : public tsp::IServerBackend {
  public:
    /// Queues `reply` for the next call of `method` not yet answered.
    ScriptedBackend& Script(Method method, Reply reply);
    /// Queues a failure with `message` for the next call of `method`.
    ScriptedBackend& Fail(Method method, std::string message = "scripted failure");
    /// Computes the reply of every call of `method` that finds no queued
    /// reply from the recorded call, e.g. from its library and nodes.
    using Responder = std::function<Reply(const RecordedCall& call)>;
    ScriptedBackend& Respond(Method method, Responder responder);

    /// Every call so far, in order.
    const std::vector<RecordedCall>& Calls() const { return calls_; }
    /// The only call so far; fails the test unless exactly one was made.
    const RecordedCall& OnlyCall() const;

    std::vector<tsp::Guid> GetCategoryRoots(const SecurityContext& security,
                                            const std::wstring& library,
                                            const tsp::Content::DBFilter& filter) override;
    std::vector<tsp::Guid> GetCategoriesByParent(const SecurityContext& security,
                                                 const std::wstring& library,
                                                 const tsp::Guid& parent, bool allLevels,
                                                 const tsp::Content::DBFilter& filter) override;
    std::vector<tsp::Guid> GetFamiliesByCategory(const SecurityContext& security,
                                                 const std::wstring& library,
                                                 const tsp::Guid& category,
                                                 const tsp::Content::DBFilter& filter) override;
    std::vector<tsp::Guid> GetCategoriesByFamily(const SecurityContext& security,
                                                 const std::wstring& library,
                                                 const tsp::Guid& family) override;
    tsp::Guid GetParentCategory(const SecurityContext& security, const std::wstring& library,
                                const tsp::Guid& category) override;
    std::vector<tsp::Guid> GetAllFamilies(const SecurityContext& security,
                                          const std::wstring& library) override;
    tsp::PropertyValues GetCategoryPropertyValues(const SecurityContext& security,
                                                  const std::wstring& library,
                                                  const std::vector<tsp::Guid>& nodes,
                                                  const std::vector<tsp::Guid>& keys,
                                                  const std::wstring& language) override;
    tsp::PropertyValues GetFamilyPropertyValues(const SecurityContext& security,
                                                const std::wstring& library,
                                                const std::vector<tsp::Guid>& nodes,
                                                const std::vector<tsp::Guid>& keys,
                                                const std::wstring& language) override;
    tsp::PropertyValues GetCategoryParameterPropertyValues(const SecurityContext& security,
                                                           const std::wstring& library,
                                                           const std::vector<tsp::Guid>& nodes,
                                                           const std::vector<tsp::Guid>& keys,
                                                           const std::wstring& language) override;
    std::vector<tsp::Guid> GetCategoryParametersByCategory(const SecurityContext& security,
                                                           const std::wstring& library,
                                                           const tsp::Guid& category,
                                                           bool flag) override;
    std::vector<tsp::Guid> GetCategoryParametersByParameter(const SecurityContext& security,
                                                            const std::wstring& library,
                                                            const tsp::Guid& parameter) override;
    std::wstring GetCategoryTreeByFamily(const SecurityContext& security,
                                         const std::wstring& library, const tsp::Guid& family,
                                         std::int32_t treeType,
                                         const std::wstring& language) override;
    std::wstring Search(const SecurityContext& security, const std::wstring& library,
                        const tsp::Content::ContentQuery& query, bool recursive) override;
    void GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                         const tsp::Guid& family, const std::wstring& aspectName,
                         const std::wstring& reserved, std::vector<std::uint8_t>& bytes) override;
    tsp::Guid CurrentPartitionId() override;
    std::vector<tsp::KnowledgeLibrary> FindKnowledgeLibraries(const SecurityContext& security,
                                                              const std::vector<tsp::Guid>& ids,
                                                              const tsp::Guid& partition) override;
    std::vector<tsp::KnowledgeLibrary> FindKnowledgeLibrariesByNames(
        const SecurityContext& security, const std::vector<std::wstring>& names) override;

  private:
    RecordedCall& Record(Method method, const SecurityContext* security,
                         const std::wstring& library = {});
    // The next queued reply of `method`, or an empty one; throws a failure.
    Reply Answer(Method method);
    tsp::PropertyValues AnswerValues(Method method, const SecurityContext& security,
                                     const std::wstring& library,
                                     const std::vector<tsp::Guid>& nodes,
                                     const std::vector<tsp::Guid>& keys,
                                     const std::wstring& language);

    std::vector<RecordedCall> calls_;
    std::map<Method, std::deque<Reply>> script_;
    std::map<Method, Responder> responders_;
};

}  // namespace VardelTest
