#include "forms_runtime/win32/picture/decoder_helper.h"
#include "forms_runtime/win32/picture/com_apartment.h"

#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/picture/com_apartment.h"
#include "forms_runtime/win32/picture/picture_files.h"
#include "forms_runtime/win32/picture/rasterizer.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

// The client is gone: the helper ends.
struct PipeClosed {};

LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI WatchParent(void* parent) {
    WaitForSingleObject(static_cast<HANDLE>(parent), INFINITE);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

HANDLE HandleArgument(const wchar_t*& text) {
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text, &end, 10);
    if (end == text) {
        return nullptr;
    }
    text = end;
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
}

}  // namespace

bool DecoderHelper::IsHelperCommand(std::wstring_view command_line) {
    const std::wstring_view arguments = ArgumentText(command_line);
    const std::wstring_view marker = kDecoderArgument;
    return arguments.substr(0, marker.size()) == marker;
}

int DecoderHelper::Run(std::wstring_view command_line) {
    const std::wstring arguments(ArgumentText(command_line).substr(std::wcslen(kDecoderArgument)));
    const wchar_t* text = arguments.c_str();
    HANDLE pipe = HandleArgument(text);
    HANDLE parent = HandleArgument(text);
    // Without its parent's pipe and process, there is nothing to serve.
    if (pipe == nullptr || parent == nullptr || GetFileType(pipe) != FILE_TYPE_PIPE ||
        WaitForSingleObject(parent, 0) != WAIT_TIMEOUT) {
        return 0;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndQuietly);
    HANDLE watch = CreateThread(nullptr, 64 * 1024, &WatchParent, parent, 0, nullptr);
    if (watch != nullptr) {
        CloseHandle(watch);
    }
    const ComApartment com;
    DecoderHelper helper(pipe);
    helper.Serve();
    return 0;
}

void DecoderHelper::Serve() {
    for (;;) {
        ClientMessage request = {};
        if (!Receive(&request, sizeof(request)) || request.type != DecoderMessage::Load ||
            request.path_bytes % 2 != 0 || request.path_bytes > kLongestPathBytes) {
            return;
        }
        std::wstring path(request.path_bytes / 2, L'\0');
        if (!Receive(path.data(), request.path_bytes)) {
            return;
        }
        PixelScale scale;
        if (request.twips_per_pixel_x > 0 && request.twips_per_pixel_y > 0) {
            scale = {request.twips_per_pixel_x, request.twips_per_pixel_y};
        }
        if (!Load(path, scale)) {
            return;
        }
    }
}

bool DecoderHelper::Load(const std::wstring& path, const PixelScale& scale) {
    HelperMessage done = {};
    done.type = DecoderMessage::Done;
    done.kind = static_cast<std::int32_t>(ErrorKind::InvalidPicture);
    HANDLE section = nullptr;
    try {
        DecodeHint hint;
        hint.shown_scale = [this](int width, int height) { return AskScale(width, height); };
        const Picture picture = LoadPictureFile(wic_, Narrow(path), hint, scale);
        const auto* bitmap = dynamic_cast<const BitmapPicture*>(picture.get());
        Dib drawn(0, 0);
        if (bitmap == nullptr) {
            // A metafile or a cursor: drawn here, at the size it is shown at.
            const PictureSize natural{std::max(1, scale.X(picture->width_twips())),
                                      std::max(1, scale.Y(picture->height_twips()))};
            if (static_cast<std::int64_t>(natural.width) * natural.height > kMostPicturePixels) {
                throw RuntimeError(ErrorKind::InvalidPicture, Narrow(path));
            }
            const PictureSize size = DecodeSize(natural, hint);
            drawn =
                Rasterize(static_cast<const DrawablePicture&>(*picture), size.width, size.height);
        }
        const Dib& pixels = bitmap != nullptr ? bitmap->pixels() : drawn;
        if (!pixels) {
            throw RuntimeError(ErrorKind::InvalidPicture, Narrow(path));
        }
        const std::uint64_t bytes = 4ULL * pixels.width() * pixels.height();
        section =
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                               static_cast<DWORD>(bytes >> 32), static_cast<DWORD>(bytes), nullptr);
        void* view = section != nullptr
                         ? MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(bytes))
                         : nullptr;
        if (view == nullptr) {
            throw RuntimeError(ErrorKind::InvalidPicture, Narrow(path));
        }
        std::memcpy(view, pixels.pixels(), static_cast<std::size_t>(bytes));
        UnmapViewOfFile(view);
        done.kind = kDecodedFine;
        done.width = pixels.width();
        done.height = pixels.height();
        done.width_twips = picture->width_twips();
        done.height_twips = picture->height_twips();
        done.opaque = bitmap != nullptr && !bitmap->has_alpha() ? 1 : 0;
        done.section = reinterpret_cast<std::uintptr_t>(section);
    } catch (const PipeClosed&) {
        return false;
    } catch (const RuntimeError& error) {
        done.kind = static_cast<std::int32_t>(error.kind());
    } catch (const std::exception&) {
        // Out of memory and the like: the file is taken as no picture.
    }
    if (done.kind != kDecodedFine && section != nullptr) {
        CloseHandle(section);
    }
    // On success the client takes the section over and closes this process's handle to it.
    return Send(done);
}

double DecoderHelper::AskScale(int width, int height) {
    HelperMessage ask = {};
    ask.type = DecoderMessage::Ask;
    ask.width = width;
    ask.height = height;
    ClientMessage answer = {};
    if (!Send(ask) || !Receive(&answer, sizeof(answer)) || answer.type != DecoderMessage::Answer) {
        throw PipeClosed{};
    }
    return answer.scale;
}

bool DecoderHelper::Send(const HelperMessage& message) {
    DWORD written = 0;
    return WriteFile(pipe_, &message, sizeof(message), &written, nullptr) &&
           written == sizeof(message);
}

bool DecoderHelper::Receive(void* into, DWORD size) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        DWORD read = 0;
        if (!ReadFile(pipe_, bytes, size, &read, nullptr) || read == 0) {
            return false;
        }
        bytes += read;
        size -= read;
    }
    return true;
}

}  // namespace kivo::forms::win32
