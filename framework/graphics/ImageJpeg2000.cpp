// JPEG 2000 pictures through the OpenJPEG library, opened at run time by name
// ("libopenjp2.so.7"). Without the library such files yield no image; that
// is normal, not an error. The entry points are bound once, on the first
// JPEG 2000 load; a library that lacks one of them, or is older than
// version 2, is let go and never asked again.

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"
#include "framework/platform/SharedLibrary.h"

#if __has_include(<openjpeg-2.5/openjpeg.h>)
#include <openjpeg-2.5/openjpeg.h>
#define ZING_HAS_OPENJPEG_TYPES 1
#endif

namespace Zing::ImageLib {

#ifndef ZING_HAS_OPENJPEG_TYPES

// Built without the library's declarations: JPEG 2000 is not supported.
bool LoadJPEG2000Codec() { return false; }
void FreeJPEG2000Codec() {}
bool HasJPEG2000Codec() { return false; }
ImagePtr GetJPEG2000Image(const std::string&) { return nullptr; }

#else

namespace {

const char* const kLibraryName = "libopenjp2.so.7";
constexpr int kMinMajorVersion = 2;
constexpr OPJ_SIZE_T kStreamBlock = 64 * 1024;
constexpr OPJ_SIZE_T kEndOfStream = static_cast<OPJ_SIZE_T>(-1);

// The entry points, fetched by name.
struct Codec {
  decltype(&opj_version) version = nullptr;
  decltype(&opj_stream_create) streamCreate = nullptr;
  decltype(&opj_stream_set_read_function) setRead = nullptr;
  decltype(&opj_stream_set_skip_function) setSkip = nullptr;
  decltype(&opj_stream_set_seek_function) setSeek = nullptr;
  decltype(&opj_stream_set_user_data) setUserData = nullptr;
  decltype(&opj_stream_set_user_data_length) setUserDataLength = nullptr;
  decltype(&opj_stream_destroy) streamDestroy = nullptr;
  decltype(&opj_create_decompress) createDecompress = nullptr;
  decltype(&opj_set_default_decoder_parameters) setDefaultParameters = nullptr;
  decltype(&opj_setup_decoder) setupDecoder = nullptr;
  decltype(&opj_set_error_handler) setErrorHandler = nullptr;
  decltype(&opj_set_warning_handler) setWarningHandler = nullptr;
  decltype(&opj_read_header) readHeader = nullptr;
  decltype(&opj_decode) decode = nullptr;
  decltype(&opj_end_decompress) endDecompress = nullptr;
  decltype(&opj_image_destroy) imageDestroy = nullptr;
  decltype(&opj_destroy_codec) destroyCodec = nullptr;
};

// The process's binding: absent (no handle), loaded (handle, not bound yet)
// or bound.
struct Binding {
  void* library = nullptr;
  bool bindOnFirstUse = true;
  Codec codec;
};

Binding gBinding;

template <typename Function>
bool Fetch(Function& function, const char* name) {
  function = reinterpret_cast<Function>(Platform::FindSharedSymbol(gBinding.library, name));
  return function != nullptr;
}

bool FetchAll(Codec& c) {
  return Fetch(c.version, "opj_version") && Fetch(c.streamCreate, "opj_stream_create") &&
         Fetch(c.setRead, "opj_stream_set_read_function") && Fetch(c.setSkip, "opj_stream_set_skip_function") &&
         Fetch(c.setSeek, "opj_stream_set_seek_function") && Fetch(c.setUserData, "opj_stream_set_user_data") &&
         Fetch(c.setUserDataLength, "opj_stream_set_user_data_length") &&
         Fetch(c.streamDestroy, "opj_stream_destroy") && Fetch(c.createDecompress, "opj_create_decompress") &&
         Fetch(c.setDefaultParameters, "opj_set_default_decoder_parameters") &&
         Fetch(c.setupDecoder, "opj_setup_decoder") && Fetch(c.setErrorHandler, "opj_set_error_handler") &&
         Fetch(c.setWarningHandler, "opj_set_warning_handler") && Fetch(c.readHeader, "opj_read_header") &&
         Fetch(c.decode, "opj_decode") && Fetch(c.endDecompress, "opj_end_decompress") &&
         Fetch(c.imageDestroy, "opj_image_destroy") && Fetch(c.destroyCodec, "opj_destroy_codec");
}

bool Bind() {
  if (!gBinding.library) return false;
  if (!gBinding.bindOnFirstUse) return true;
  gBinding.bindOnFirstUse = false;
  const bool bound = FetchAll(gBinding.codec) && std::atoi(gBinding.codec.version()) >= kMinMajorVersion;
  if (!bound) FreeJPEG2000Codec();
  return bound;
}

OPJ_SIZE_T ReadStream(void* buffer, OPJ_SIZE_T count, void* file) {
  const std::size_t got = p_fread(buffer, 1, count, static_cast<PFILE*>(file));
  return got == 0 ? kEndOfStream : got;
}

OPJ_OFF_T SkipStream(OPJ_OFF_T count, void* file) {
  return p_fseek(static_cast<PFILE*>(file), static_cast<long>(count), SEEK_CUR) == 0 ? count : -1;
}

OPJ_BOOL SeekStream(OPJ_OFF_T offset, void* file) {
  return p_fseek(static_cast<PFILE*>(file), static_cast<long>(offset), SEEK_SET) == 0 ? OPJ_TRUE : OPJ_FALSE;
}

void Quiet(const char* /*message*/, void* /*data*/) {}

long FileLength(PFILE* file) {
  if (p_fseek(file, 0, SEEK_END) != 0) return -1;
  const long length = p_ftell(file);
  return p_fseek(file, 0, SEEK_SET) == 0 ? length : -1;
}

// A raw codestream starts with its SOC and SIZ markers; anything else is
// taken as the JP2 file format.
OPJ_CODEC_FORMAT Sniff(PFILE* file) {
  unsigned char head[4] = {};
  const std::size_t got = p_fread(head, 1, sizeof head, file);
  p_fseek(file, 0, SEEK_SET);
  const bool codestream = got == 4 && head[0] == 0xFF && head[1] == 0x4F && head[2] == 0xFF && head[3] == 0x51;
  return codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2;
}

// One component's sample scaled to 8 bits.
std::uint32_t Sample(const opj_image_comp_t& comp, std::size_t index) {
  int value = comp.data[index];
  if (comp.sgnd) value += 1 << (comp.prec - 1);
  if (comp.prec > 8) value >>= comp.prec - 8;
  if (comp.prec < 8) value <<= 8 - comp.prec;
  return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
}

// Grey (one component) or the first three components as R, G, B, at full
// resolution; subsampled or odd components are refused.
ImagePtr ToImage(const opj_image_t& picture) {
  const int width = static_cast<int>(picture.x1 - picture.x0);
  const int height = static_cast<int>(picture.y1 - picture.y0);
  const OPJ_UINT32 used = picture.numcomps >= 3 ? 3 : 1;
  if (picture.numcomps == 0 || picture.numcomps == 2) return nullptr;
  for (OPJ_UINT32 c = 0; c < used; ++c) {
    const opj_image_comp_t& comp = picture.comps[c];
    if (!comp.data || comp.w != static_cast<OPJ_UINT32>(width) || comp.h != static_cast<OPJ_UINT32>(height) ||
        comp.prec < 1 || comp.prec > 31)
      return nullptr;
  }
  auto image = std::make_unique<Image>();
  if (!image->Allocate(width, height)) return nullptr;
  std::uint32_t* bits = image->GetBits();
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t r = Sample(picture.comps[0], i);
    const std::uint32_t g = used == 3 ? Sample(picture.comps[1], i) : r;
    const std::uint32_t b = used == 3 ? Sample(picture.comps[2], i) : r;
    bits[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
  return image;
}

bool FitsLimits(const opj_image_t& picture) {
  return picture.x1 > picture.x0 && picture.y1 > picture.y0 &&
         picture.x1 - picture.x0 <= static_cast<OPJ_UINT32>(kMaxDimension) &&
         picture.y1 - picture.y0 <= static_cast<OPJ_UINT32>(kMaxDimension);
}

ImagePtr Decode(const Codec& c, PFILE* file, long length) {
  opj_stream_t* stream = c.streamCreate(kStreamBlock, OPJ_TRUE);
  opj_codec_t* decoder = c.createDecompress(Sniff(file));
  opj_image_t* picture = nullptr;
  ImagePtr result;
  if (stream && decoder) {
    c.setRead(stream, ReadStream);
    c.setSkip(stream, SkipStream);
    c.setSeek(stream, SeekStream);
    c.setUserData(stream, file, nullptr);
    c.setUserDataLength(stream, static_cast<OPJ_UINT64>(length));
    c.setErrorHandler(decoder, Quiet, nullptr);
    c.setWarningHandler(decoder, Quiet, nullptr);
    opj_dparameters_t parameters;
    c.setDefaultParameters(&parameters);
    if (c.setupDecoder(decoder, &parameters) && c.readHeader(stream, decoder, &picture) && FitsLimits(*picture) &&
        c.decode(decoder, stream, picture) && c.endDecompress(decoder, stream))
      result = ToImage(*picture);
  }
  if (picture) c.imageDestroy(picture);
  if (decoder) c.destroyCodec(decoder);
  if (stream) c.streamDestroy(stream);
  return result;
}

}  // namespace

bool LoadJPEG2000Codec() {
  if (!gBinding.library) {
    gBinding.library = Platform::OpenSharedLibrary(kLibraryName);
    gBinding.bindOnFirstUse = true;
  }
  return gBinding.library != nullptr;
}

void FreeJPEG2000Codec() {
  Platform::CloseSharedLibrary(gBinding.library);
  gBinding.library = nullptr;
}

bool HasJPEG2000Codec() { return gBinding.library != nullptr; }

ImagePtr GetJPEG2000Image(const std::string& fileName) {
  if (!Bind()) return nullptr;
  PFilePtr file = OpenForReading(fileName);
  if (!file) return nullptr;
  const long length = FileLength(file.get());
  if (length <= 0) return nullptr;
  return Decode(gBinding.codec, file.get(), length);
}

#endif

}  // namespace Zing::ImageLib
