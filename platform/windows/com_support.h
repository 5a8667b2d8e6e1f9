#pragma once

// Small COM helpers shared by the Windows services: owned interface pointers,
// owned VARIANTs and text conversion between BSTR and the component's text.

#include "platform/windows/windows_headers.h"

#include <string>
#include <string_view>
#include <utility>

namespace orvane::windows {

// wchar_t is UTF-16 on Windows, so the component's text crosses as it is.
inline const wchar_t* WidePointer(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::wstring WideOf(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline std::u16string TextOfWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
// A BSTR may be null, which means empty text.
inline std::u16string TextOfBstr(BSTR text) {
  return text == nullptr ? std::u16string() : TextOfWide(text, SysStringLen(text));
}
inline BSTR BstrOf(std::u16string_view text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
}

// Holds one reference to an interface and releases it.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  static ComPtr AddingReference(Interface* pointer) {
    if (pointer) pointer->AddRef();
    return ComPtr(pointer);
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For out parameters: releases what is held and hands out the slot.
  Interface** Put() {
    *this = ComPtr();
    return &pointer_;
  }
  Interface* Detach() { return std::exchange(pointer_, nullptr); }

 private:
  Interface* pointer_ = nullptr;
};

// A VARIANT that clears itself.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

}  // namespace orvane::windows
