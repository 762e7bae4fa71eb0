#pragma once

#include "object.h"

#include <QString>
#include <vector>

// Ordered key/object entries in insertion order. Keys need not be unique; key lookup ignores
// letter case and returns the first match. Out-of-range indices are ignored everywhere.
// With OwnsObjects the list frees the objects it removes (each object once, even if it sits
// in several entries, and never while another entry still holds it).
class TosBaseObjStringList : public TObject {
public:
    TosBaseObjStringList() = default;
    TosBaseObjStringList(const TosBaseObjStringList &) = delete;
    TosBaseObjStringList &operator=(const TosBaseObjStringList &) = delete;
    ~TosBaseObjStringList() override;

    bool OwnsObjects = true;

    virtual int Count() const;
    virtual TObject *GetObject(int i) const;
    virtual QString GetString(int i) const;
    // Replaces the object of entry i; the old object is not freed.
    virtual void PutObject(int i, TObject *obj);
    virtual void PutString(int i, const QString &s);
    virtual void Clear();
    virtual void Delete(int i);
    virtual int IndexOf(const QString &key) const;
    virtual int IndexOfObject(const TObject *obj) const;

    // Appends an entry and returns its index.
    int AddObject(const QString &key, TObject *obj);

private:
    struct TEntry {
        QString Key;
        TObject *Object = nullptr;
    };
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    std::vector<TEntry> FEntries;
};
