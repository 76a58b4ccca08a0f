#include "support/scripted_backend.h"

#include <gtest/gtest.h>

#include <utility>

namespace VardelTest {

const char* MethodName(Method method) {
    switch (method) {
        case Method::GetCategoryRoots:
            return "GetCategoryRoots";
        case Method::GetCategoriesByParent:
            return "GetCategoriesByParent";
        case Method::GetFamiliesByCategory:
            return "GetFamiliesByCategory";
        case Method::GetCategoriesByFamily:
            return "GetCategoriesByFamily";
        case Method::GetParentCategory:
            return "GetParentCategory";
        case Method::GetAllFamilies:
            return "GetAllFamilies";
        case Method::GetCategoryPropertyValues:
            return "GetCategoryPropertyValues";
        case Method::GetFamilyPropertyValues:
            return "GetFamilyPropertyValues";
        case Method::GetCategoryParameterPropertyValues:
            return "GetCategoryParameterPropertyValues";
        case Method::GetCategoryParametersByCategory:
            return "GetCategoryParametersByCategory";
        case Method::GetCategoryParametersByParameter:
            return "GetCategoryParametersByParameter";
        case Method::GetCategoryTreeByFamily:
            return "GetCategoryTreeByFamily";
        case Method::Search:
            return "Search";
        case Method::GetFamilyAspect:
            return "GetFamilyAspect";
        case Method::CurrentPartitionId:
            return "CurrentPartitionId";
        case Method::FindKnowledgeLibraries:
            return "FindKnowledgeLibraries";
        case Method::FindKnowledgeLibrariesByNames:
            return "FindKnowledgeLibrariesByNames";
    }
    return "?";
}

void PrintTo(Method method, std::ostream* os) {
    *os << MethodName(method);
}

ScriptedBackend& ScriptedBackend::Script(Method method, Reply reply) {
    script_[method].push_back(std::move(reply));
    return *this;
}

ScriptedBackend& ScriptedBackend::Fail(Method method, std::string message) {
    return Script(method, Reply::Failure(std::move(message)));
}

const RecordedCall& ScriptedBackend::OnlyCall() const {
    static const RecordedCall kNone;
    if (calls_.size() != 1) {
        ADD_FAILURE() << "expected exactly one backend call, got " << calls_.size();
        return calls_.empty() ? kNone : calls_.back();
    }
    return calls_.front();
}

RecordedCall& ScriptedBackend::Record(Method method, const SecurityContext* security,
                                      const std::wstring& library) {
    RecordedCall& call = calls_.emplace_back();
    call.method = method;
    if (security != nullptr) {
        call.security = *security;
    }
    call.library = library;
    return call;
}

ScriptedBackend& ScriptedBackend::Respond(Method method, Responder responder) {
    responders_[method] = std::move(responder);
    return *this;
}

Reply ScriptedBackend::Answer(Method method) {
    std::deque<Reply>& queue = script_[method];
    Reply reply;
    if (!queue.empty()) {
        reply = std::move(queue.front());
        queue.pop_front();
    } else if (const auto responder = responders_.find(method); responder != responders_.end()) {
        reply = responder->second(calls_.back());
    }
    if (reply.failure) {
        throw tsp::ProxyError(*reply.failure);
    }
    return reply;
}

std::vector<tsp::Guid> ScriptedBackend::GetCategoryRoots(const SecurityContext& security,
                                                         const std::wstring& library,
                                                         const tsp::Content::DBFilter& filter) {
    Record(Method::GetCategoryRoots, &security, library).filter = filter;
    return Answer(Method::GetCategoryRoots).ids;
}

std::vector<tsp::Guid> ScriptedBackend::GetCategoriesByParent(
    const SecurityContext& security, const std::wstring& library, const tsp::Guid& parent,
    bool allLevels, const tsp::Content::DBFilter& filter) {
    RecordedCall& call = Record(Method::GetCategoriesByParent, &security, library);
    call.nodes = {parent};
    call.flag = allLevels;
    call.filter = filter;
    return Answer(Method::GetCategoriesByParent).ids;
}

std::vector<tsp::Guid> ScriptedBackend::GetFamiliesByCategory(
    const SecurityContext& security, const std::wstring& library, const tsp::Guid& category,
    const tsp::Content::DBFilter& filter) {
    RecordedCall& call = Record(Method::GetFamiliesByCategory, &security, library);
    call.nodes = {category};
    call.filter = filter;
    return Answer(Method::GetFamiliesByCategory).ids;
}

std::vector<tsp::Guid> ScriptedBackend::GetCategoriesByFamily(const SecurityContext& security,
                                                              const std::wstring& library,
                                                              const tsp::Guid& family) {
    Record(Method::GetCategoriesByFamily, &security, library).nodes = {family};
    return Answer(Method::GetCategoriesByFamily).ids;
}

tsp::Guid ScriptedBackend::GetParentCategory(const SecurityContext& security,
                                             const std::wstring& library,
                                             const tsp::Guid& category) {
    Record(Method::GetParentCategory, &security, library).nodes = {category};
    return Answer(Method::GetParentCategory).id;
}

std::vector<tsp::Guid> ScriptedBackend::GetAllFamilies(const SecurityContext& security,
                                                       const std::wstring& library) {
    Record(Method::GetAllFamilies, &security, library);
    return Answer(Method::GetAllFamilies).ids;
}

tsp::PropertyValues ScriptedBackend::AnswerValues(Method method, const SecurityContext& security,
                                                  const std::wstring& library,
                                                  const std::vector<tsp::Guid>& nodes,
                                                  const std::vector<tsp::Guid>& keys,
                                                  const std::wstring& language) {
    RecordedCall& call = Record(method, &security, library);
    call.nodes = nodes;
    call.keys = keys;
    call.language = language;
    return Answer(method).values;
}

tsp::PropertyValues ScriptedBackend::GetCategoryPropertyValues(const SecurityContext& security,
                                                               const std::wstring& library,
                                                               const std::vector<tsp::Guid>& nodes,
                                                               const std::vector<tsp::Guid>& keys,
                                                               const std::wstring& language) {
    return AnswerValues(Method::GetCategoryPropertyValues, security, library, nodes, keys,
                        language);
}

tsp::PropertyValues ScriptedBackend::GetFamilyPropertyValues(const SecurityContext& security,
                                                             const std::wstring& library,
                                                             const std::vector<tsp::Guid>& nodes,
                                                             const std::vector<tsp::Guid>& keys,
                                                             const std::wstring& language) {
    return AnswerValues(Method::GetFamilyPropertyValues, security, library, nodes, keys, language);
}

tsp::PropertyValues ScriptedBackend::GetCategoryParameterPropertyValues(
    const SecurityContext& security, const std::wstring& library,
    const std::vector<tsp::Guid>& nodes, const std::vector<tsp::Guid>& keys,
    const std::wstring& language) {
    return AnswerValues(Method::GetCategoryParameterPropertyValues, security, library, nodes, keys,
                        language);
}

std::vector<tsp::Guid> ScriptedBackend::GetCategoryParametersByCategory(
    const SecurityContext& security, const std::wstring& library, const tsp::Guid& category,
    bool flag) {
    RecordedCall& call = Record(Method::GetCategoryParametersByCategory, &security, library);
    call.nodes = {category};
    call.flag = flag;
    return Answer(Method::GetCategoryParametersByCategory).ids;
}

std::vector<tsp::Guid> ScriptedBackend::GetCategoryParametersByParameter(
    const SecurityContext& security, const std::wstring& library, const tsp::Guid& parameter) {
    Record(Method::GetCategoryParametersByParameter, &security, library).nodes = {parameter};
    return Answer(Method::GetCategoryParametersByParameter).ids;
}

std::wstring ScriptedBackend::GetCategoryTreeByFamily(const SecurityContext& security,
                                                      const std::wstring& library,
                                                      const tsp::Guid& family,
                                                      std::int32_t treeType,
                                                      const std::wstring& language) {
    RecordedCall& call = Record(Method::GetCategoryTreeByFamily, &security, library);
    call.nodes = {family};
    call.treeType = treeType;
    call.language = language;
    return Answer(Method::GetCategoryTreeByFamily).text;
}

std::wstring ScriptedBackend::Search(const SecurityContext& security, const std::wstring& library,
                                     const tsp::Content::ContentQuery& query, bool recursive) {
    RecordedCall& call = Record(Method::Search, &security, library);
    call.query = query;
    call.flag = recursive;
    return Answer(Method::Search).text;
}

void ScriptedBackend::GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                                      const tsp::Guid& family, const std::wstring& aspectName,
                                      const std::wstring& reserved,
                                      std::vector<std::uint8_t>& bytes) {
    RecordedCall& call = Record(Method::GetFamilyAspect, &security, library);
    call.nodes = {family};
    call.aspectName = aspectName;
    call.reserved = reserved;
    bytes = Answer(Method::GetFamilyAspect).bytes;
}

tsp::Guid ScriptedBackend::CurrentPartitionId() {
    Record(Method::CurrentPartitionId, nullptr);
    return Answer(Method::CurrentPartitionId).id;
}

std::vector<tsp::KnowledgeLibrary> ScriptedBackend::FindKnowledgeLibraries(
    const SecurityContext& security, const std::vector<tsp::Guid>& ids,
    const tsp::Guid& partition) {
    RecordedCall& call = Record(Method::FindKnowledgeLibraries, &security);
    call.nodes = ids;
    call.partition = partition;
    return Answer(Method::FindKnowledgeLibraries).libraries;
}

std::vector<tsp::KnowledgeLibrary> ScriptedBackend::FindKnowledgeLibrariesByNames(
    const SecurityContext& security, const std::vector<std::wstring>& names) {
    Record(Method::FindKnowledgeLibrariesByNames, &security).names = names;
    return Answer(Method::FindKnowledgeLibrariesByNames).libraries;
}

}  // namespace VardelTest
