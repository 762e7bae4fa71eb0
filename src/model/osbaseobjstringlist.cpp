#include "osbaseobjstringlist.h"

#include <unordered_set>

TosBaseObjStringList::~TosBaseObjStringList()
{
    TosBaseObjStringList::Clear();
}

int TosBaseObjStringList::Count() const
{
    return int(FEntries.size());
}

TObject *TosBaseObjStringList::GetObject(int i) const
{
    return Valid(i) ? FEntries[i].Object : nullptr;
}

QString TosBaseObjStringList::GetString(int i) const
{
    return Valid(i) ? FEntries[i].Key : QString();
}

void TosBaseObjStringList::PutObject(int i, TObject *obj)
{
    if (Valid(i))
        FEntries[i].Object = obj;
}

void TosBaseObjStringList::PutString(int i, const QString &s)
{
    if (Valid(i))
        FEntries[i].Key = s;
}

void TosBaseObjStringList::Clear()
{
    std::vector<TEntry> entries;
    entries.swap(FEntries);
    if (!OwnsObjects)
        return;
    std::unordered_set<TObject *> freed;
    for (const TEntry &entry : entries)
        if (entry.Object && freed.insert(entry.Object).second)
            delete entry.Object;
}

void TosBaseObjStringList::Delete(int i)
{
    if (!Valid(i))
        return;
    TObject *obj = FEntries[i].Object;
    FEntries.erase(FEntries.begin() + i);
    if (OwnsObjects && obj && IndexOfObject(obj) < 0)
        delete obj;
}

int TosBaseObjStringList::IndexOf(const QString &key) const
{
    for (int i = 0; i < Count(); ++i)
        if (FEntries[i].Key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TosBaseObjStringList::IndexOfObject(const TObject *obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (FEntries[i].Object == obj)
            return i;
    return -1;
}

int TosBaseObjStringList::AddObject(const QString &key, TObject *obj)
{
    FEntries.push_back({key, obj});
    return Count() - 1;
}
