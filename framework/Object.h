#pragma once

// Root of the framework's polymorphic objects: view-update hints travel as CObject*.
class CObject {
public:
    virtual ~CObject() = default;
};
