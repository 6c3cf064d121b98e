#pragma once

#include <memory>

namespace urbaflux {

class Document;

// Where a finished printout goes: the document viewer window in the program, a recorder in
// tests. Each printout hands over a document of its own; earlier ones stay where they went.
class DocumentSink
{
public:
    virtual ~DocumentSink() = default;
    virtual void present(std::unique_ptr<Document> document) = 0;
};

} // namespace urbaflux
