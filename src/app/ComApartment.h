#pragma once

// This thread's COM apartment, entered when first needed and left when this object goes. The
// shell's start may hand the work to COM objects: it asks for an apartment-threaded caller
// without OLE1 DDE. Entered at the first start rather than at start-up, which then does without
// the COM libraries.
class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    void Enter();

private:
    bool asked_ = false;
    bool entered_ = false;  // left again only when this object entered it
};
