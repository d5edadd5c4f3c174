#include "win32/pictures/wic_decoder.h"

#include <wincodec.h>

#include "win32/base/com.h"

namespace win32 {

namespace {

HBITMAP CreateTopDownDib(UINT width, UINT height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The first frame of the picture as 32-bit pixels in a DIB section.
HBITMAP CopyFrame(IWICImagingFactory* factory, IWICBitmapSource* frame) {
  ComRef<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height))) {
    return nullptr;
  }
  void* bits = nullptr;
  HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
  if (!bitmap) return nullptr;
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

HBITMAP Decode(const Com& com, const BYTE* data, DWORD size) {
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(com.create_instance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out()))) {
    return nullptr;
  }
  return CopyFrame(factory.Get(), frame.Get());
}

}  // namespace

HBITMAP DecodeWithWic(const BYTE* data, DWORD size) {
  const Com& com = ComFunctions();
  if (!com.Loaded()) return nullptr;
  ComScope scope(com);
  return Decode(com, data, size);
}

}  // namespace win32
