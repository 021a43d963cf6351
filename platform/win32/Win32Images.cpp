#include "platform/win32/Win32Images.h"

#include "platform/win32/WinApi.h"
// <wincodec.h> needs <windows.h> first.
#include <wincodec.h>

#include "platform/win32/Win32Scoped.h"

namespace tov::win32 {

namespace {

bool Fail(std::string* error, const char* what, HRESULT hr) {
  if (error) {
    char buf[80];
    wsprintfA(buf, "%s (0x%08lX)", what, static_cast<unsigned long>(hr));
    *error = buf;
  }
  return false;
}

}  // namespace

bool WicImageCodec::Decode(const std::string& bytes, Picture* out, std::string* error) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  struct Uninit {
    bool on;
    ~Uninit() {
      if (on) CoUninitialize();
    }
  } uninit{SUCCEEDED(init)};
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.PutVoid());
  if (FAILED(hr)) return Fail(error, "no imaging component", hr);
  ComPtr<IWICStream> stream;
  if (FAILED(hr = factory->CreateStream(stream.Put()))) return Fail(error, "cannot make a stream", hr);
  std::string copy = bytes;  // the stream reads the memory while decoding
  if (FAILED(hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(copy.data()), DWORD(copy.size()))))
    return Fail(error, "cannot read the picture", hr);
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(
          hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put())))
    return Fail(error, "not a picture file", hr);
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(hr = decoder->GetFrame(0, frame.Put()))) return Fail(error, "no image in the file", hr);
  UINT w = 0, h = 0;
  if (FAILED(hr = frame->GetSize(&w, &h)) || w == 0 || h == 0 || w > 32768 || h > 32768 ||
      uint64_t(w) * h > (uint64_t(1) << 26))
    return Fail(error, "bad picture size", hr);
  // No file format packs more than about 8,300 pixels into a byte (one-bit
  // PNG rows at deflate's best): a header that claims more is damage, found
  // before the pixels are allocated.
  if (uint64_t(w) * h > uint64_t(bytes.size()) * 8320 + 65536) return Fail(error, "picture larger than its data", hr);
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(hr = factory->CreateFormatConverter(converter.Put()))) return Fail(error, "no converter", hr);
  if (FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom)))
    return Fail(error, "cannot convert the picture", hr);
  std::vector<BYTE> rgba(size_t(w) * h * 4);
  if (FAILED(hr = converter->CopyPixels(nullptr, w * 4, UINT(rgba.size()), rgba.data())))
    return Fail(error, "cannot decode the picture", hr);
  Picture p;
  p.rgb = Bitmap(int(w), int(h));
  p.alpha.resize(p.rgb.pixels.size());
  bool anyClear = false;
  for (size_t i = 0; i < p.rgb.pixels.size(); ++i) {
    p.rgb.pixels[i] = RGB(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]);
    p.alpha[i] = rgba[i * 4 + 3];
    anyClear |= p.alpha[i] != 255;
  }
  if (!anyClear) p.alpha.clear();
  *out = std::move(p);
  return true;
}

IImageCodec& WicCodec() {
  static WicImageCodec codec;
  return codec;
}

}  // namespace tov::win32
