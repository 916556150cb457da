#include "forms_runtime/win32/window/back_buffer.h"

namespace kivo::forms::win32 {

BackBuffer::~BackBuffer() {
    Release();
}

void BackBuffer::Release() {
    if (dc_ != nullptr) {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    width_ = 0;
    height_ = 0;
}

bool BackBuffer::Fit(HDC screen, int width, int height) {
    if (dc_ != nullptr && width == width_ && height == height_) {
        return true;
    }
    Release();
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    if (dc_ == nullptr || bitmap_ == nullptr) {
        Release();
        return false;
    }
    original_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
}

void BackBuffer::Paint(HWND window, const std::function<void(HDC dc, const RECT& dirty)>& draw) {
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window, &paint);
    const RECT dirty = paint.rcPaint;
    RECT client;
    GetClientRect(window, &client);
    if (screen != nullptr && !IsRectEmpty(&dirty)) {
        if (Fit(screen, client.right, client.bottom)) {
            const int saved = SaveDC(dc_);
            IntersectClipRect(dc_, dirty.left, dirty.top, dirty.right, dirty.bottom);
            draw(dc_, dirty);
            RestoreDC(dc_, saved);
            BitBlt(screen, dirty.left, dirty.top, dirty.right - dirty.left,
                   dirty.bottom - dirty.top, dc_, dirty.left, dirty.top, SRCCOPY);
        } else {
            draw(screen, dirty);  // no memory for a buffer: paint directly
        }
    }
    EndPaint(window, &paint);
}

}  // namespace kivo::forms::win32
