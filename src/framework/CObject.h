// Root of the framework's classes that are passed around anonymously, such as
// the hint object of a document's view update.
#pragma once

class CObject
{
public:
    virtual ~CObject() = default;
};
