#pragma once

// Root of every object that the string-keyed lists hold; deleting through it frees the whole object.
class TObject {
public:
    TObject() = default;
    TObject(const TObject &) = default;
    TObject &operator=(const TObject &) = default;
    virtual ~TObject() = default;
};
