#pragma once

// The public automation surface of Orvane.dll for C++ hosts: identifiers,
// dispatch ids and the dual interface _Orvane2 as laid out in its type library.

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

namespace orvane::com {

// Type library "Orvane", version 1.0.
inline constexpr GUID kLibraryId = {
    0x2C8653C1, 0x3481, 0x420C, {0x81, 0x3A, 0x6A, 0x7A, 0x7D, 0xE9, 0xA4, 0x31}};
// The creatable class Orvane2.
inline constexpr CLSID kClassId = {
    0x8EF4FB7D, 0xEAB9, 0x4CBE, {0x85, 0xC3, 0xF3, 0xB3, 0x7A, 0x0A, 0xAF, 0x73}};
// _Orvane2, the dual default interface.
inline constexpr IID kInterfaceId = {
    0x2DAFEC86, 0x1925, 0x40AA, {0x88, 0x7A, 0xE4, 0x4D, 0x49, 0x13, 0x5A, 0xB5}};
// __Orvane2, the outgoing event interface (dispatch only).
inline constexpr IID kEventsId = {
    0x14A070F7, 0xD997, 0x4FAC, {0xBD, 0x8C, 0xF9, 0xB9, 0x8F, 0x4E, 0x8D, 0x10}};
// The public record SYSTEMTIME.
inline constexpr GUID kSystemTimeRecordId = {
    0x51A3DF85, 0xAF26, 0x4111, {0xBD, 0x3F, 0xAB, 0xC7, 0xBC, 0xBB, 0xDE, 0xFA}};

inline constexpr wchar_t kProgId[] = L"Orvane.Orvane2";
inline constexpr wchar_t kVersionedProgId[] = L"Orvane.Orvane2.1";

inline constexpr DISPID kDispidExportItem2 = 0x60030000;
inline constexpr DISPID kDispidGetItem = 0x60030005;
inline constexpr DISPID kDispidItemcount = 0x60030009;
inline constexpr DISPID kDispidExport2 = 0x6003000D;
inline constexpr DISPID kDispidExportBreak = 0x6003000E;

inline constexpr DISPID kDispidExportProgress = 1;
inline constexpr DISPID kDispidExportDone = 2;

}  // namespace orvane::com

// Every parameter is by reference, as the type library declares it. The
// optional ones of Export2 may be null pointers: they then take their defaults
// (0 and empty text).
struct _Orvane2 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE ExportItem2(short* ItemIdx, short* ExportType, BSTR* filename,
                                                long* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItem(short* ItemIdx, short* ExportType, BSTR* Title,
                                            DATE* ModifyTime, long* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE itemcount(short* ExportType, short* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE Export2(BSTR* Destination, BSTR* Exportname,
                                            short* ExportType, short* ExportMode, BSTR* LogName,
                                            BSTR* LogPath, long* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExportBreak() = 0;
};
