// The row caches of a value store. CValueCacheLoc holds one row's values by
// language and column id; CValueCacheSimple one map of values (its record is
// the inner part of CValueCacheLoc's, and no table creates one). Both mark
// their store changed on every change and read and write their part of the
// cache file through the archive codec; reads are bounded by the bytes that
// remain. Maps order keys by code unit, case-sensitive.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/archive.h"

class CValueStore;

class CValueCache {
  public:
    virtual ~CValueCache() = default;
    virtual void SetValue(const std::wstring& key, const std::wstring& language,
                          const std::wstring& value) = 0;
    /// 0 and the value when present, 1 when not.
    virtual int GetValue(const std::wstring& key, const std::wstring& language,
                         std::wstring& value) const = 0;
    /// In every language.
    virtual void ClearValue(const std::wstring& key) = 0;
    virtual void ClearValue(const std::wstring& key, const std::wstring& language) = 0;
    virtual void ClearAll() = 0;
    /// 1 when the record was read whole; 0 when reading broke off after some
    /// languages, -1 before any.
    virtual int Load(VardelCommon::ArchiveReader& archive) = 0;
    /// Writes the record; returns 1.
    virtual int Save(VardelCommon::ArchiveWriter& archive) const = 0;
};
