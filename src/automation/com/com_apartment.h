// Joins the calling thread to a single-threaded COM apartment for the object's life.
// The host's automation object is called from the user-interface thread only; an STA also
// lets COM pump that thread's messages while a call to the host is under way.
#pragma once

namespace veltrano::com {

class ComApartment {
public:
    ComApartment();  // raises RunTimeError when COM cannot be initialised on this thread
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool joined_ = false;
};

}  // namespace veltrano::com
