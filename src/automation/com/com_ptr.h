// A move-only owner of one COM interface reference, with an explicit empty state.
#pragma once

#include <unknwn.h>

#include <utility>

namespace veltrano::com {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already owns (no AddRef).
    explicit ComPtr(Interface* owned) noexcept : ptr_(owned) {}
    ~ComPtr() { reset(); }

    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    // Shares a reference held elsewhere (AddRef).
    static ComPtr share(Interface* borrowed) noexcept {
        if (borrowed) borrowed->AddRef();
        return ComPtr(borrowed);
    }

    Interface* get() const noexcept { return ptr_; }
    Interface* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // For out-parameters: lets go of the current reference first.
    Interface** put() noexcept {
        reset();
        return &ptr_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }

    // The same object through another interface; empty when it does not offer one.
    template <typename Other>
    ComPtr<Other> query() const noexcept {
        ComPtr<Other> other;
        if (ptr_) ptr_->QueryInterface(__uuidof(Other), other.putVoid());
        return other;
    }

private:
    Interface* ptr_ = nullptr;
};

}  // namespace veltrano::com
