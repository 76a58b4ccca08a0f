// The templates of a family: each "FamilyTemplate" element names one model
// file and lists its generalized parameters, the objects of that model whose
// values a family member sets. CEncapFamilyTemplate stands over one
// "FamilyTemplate", CEncapFamilyTemplateParameter over one
// "GeneralizedParameter" (nested to any depth); both edit their element in
// place and every setter writes the attribute at once.
//
// A template owns its top-level parameters, a parameter its children. Ids
// are unique within a template across all depths and only grow: the next
// id is one above the highest id met at load or handed out since, so a
// deleted id is not reused while the template object lives. Parameters
// without an integer "Id" are not loaded. Lookups give null or false for
// missing ids; nothing throws. Copies get copies of the parameter objects
// over the same elements. One thread at a time.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "vardel/export.h"
#include "vardel/xml_node.h"

class CEncapFamilyMapping;
class CEncapFamilyTemplate;

/// One "GeneralizedParameter" of a template and its nested parameters.
class VARDEL_API CEncapFamilyTemplateParameter {
  public:
    CEncapFamilyTemplateParameter() = default;
    /// The parameter over `node` of `owner`; loads its nested parameters and
    /// raises the template's next id past every id met.
    CEncapFamilyTemplateParameter(const XMLNode& node, CEncapFamilyTemplate* owner);
    CEncapFamilyTemplateParameter(const CEncapFamilyTemplateParameter& other);
    CEncapFamilyTemplateParameter& operator=(const CEncapFamilyTemplateParameter& other);
    virtual ~CEncapFamilyTemplateParameter();

    /// "Id" as a number; 0 when it is missing or no number.
    int GetId() const;
    /// "Id" as written. The getters below leave `value` unchanged when the
    /// attribute is missing.
    void GetStringId(std::wstring& value) const;
    void GetValueType(std::wstring& value) const;
    void SetValueType(const std::wstring& value);
    void GetUnitType(std::wstring& value) const;
    void SetUnitType(const std::wstring& value);
    void GetObjectType(std::wstring& value) const;
    void SetObjectType(const std::wstring& value);
    void GetObjectReferenceKey(std::wstring& value) const;
    void SetObjectReferenceKey(const std::wstring& value);
    void GetSubObjectId(std::wstring& value) const;
    void SetSubObjectId(const std::wstring& value);
    /// The nested parameter of that id at any depth; null when none.
    CEncapFamilyTemplateParameter* GetChild(int id) const;
    /// Removes the nested parameter of that id (at any depth) with its
    /// element; false when there is none.
    bool DeleteChild(int id);
    XMLNode GetXMLNode() const { return node_; }

  private:
    friend class CEncapFamilyTemplate;
    using Children = std::map<int, std::unique_ptr<CEncapFamilyTemplateParameter>>;
    /// Loads the "GeneralizedParameter" children of `parent` into `into`.
    static void LoadChildren(const XMLNode& parent, CEncapFamilyTemplate* owner, Children& into);
    static Children CopyChildren(const Children& children, CEncapFamilyTemplate* owner);
    /// GetChild and DeleteChild over a map of parameters.
    static CEncapFamilyTemplateParameter* Find(const Children& children, int id);
    static bool Delete(Children& children, int id);

    XMLNode node_;
    CEncapFamilyTemplate* template_ = nullptr;
    Children children_;
};

/// One "FamilyTemplate" of a family and its generalized parameters.
class VARDEL_API CEncapFamilyTemplate {
  public:
    CEncapFamilyTemplate() = default;
    /// The template over `node` of `mapping`; loads its parameters.
    CEncapFamilyTemplate(const XMLNode& node, CEncapFamilyMapping* mapping);
    CEncapFamilyTemplate(const CEncapFamilyTemplate& other);
    CEncapFamilyTemplate& operator=(const CEncapFamilyTemplate& other);
    virtual ~CEncapFamilyTemplate();

    /// "Name"; `value` unchanged when it is missing.
    void GetName(std::wstring& value) const;
    /// "FileName" (the template's model file); `value` unchanged when missing.
    void GetFileName(std::wstring& value) const;
    /// The top-level parameter bound to the object `key` / `subObjectId`
    /// (ignoring case; for the sub-object "Material" the template's material
    /// parameter whatever its key), else a new one with the next id. Null
    /// when no element can be added or the ids are used up.
    CEncapFamilyTemplateParameter* AddParameter(const std::wstring& key,
                                                const std::wstring& subObjectId);
    /// The parameter of that id at any depth; null when none.
    CEncapFamilyTemplateParameter* GetParameter(int id) const;
    /// Removes the parameter of that id (at any depth) with its element;
    /// false when there is none.
    bool DeleteParameter(int id);
    XMLNode GetXMLNode() const { return node_; }
    CEncapFamilyMapping* GetMapping() const { return mapping_; }

  private:
    friend class CEncapFamilyTemplateParameter;
    /// Keeps the next id above `id`.
    void NoteParameterId(int id);
    /// The first top-level parameter that AddParameter may return as it is.
    CEncapFamilyTemplateParameter* FindBoundParameter(const std::wstring& key,
                                                      const std::wstring& subObjectId) const;

    // Wider than an id, so that an id of INT_MAX leaves "no id left" rather
    // than an overflow.
    long long nextId_ = 1;
    XMLNode node_;
    CEncapFamilyMapping* mapping_ = nullptr;
    CEncapFamilyTemplateParameter::Children parameters_;
};
