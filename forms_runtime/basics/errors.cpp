#include "forms_runtime/basics/errors.h"

namespace kivo::forms {

namespace {

std::string Compose(ErrorKind kind, const std::string& subject, const std::string& detail) {
    std::string text = DescribeError(kind);
    if (!subject.empty()) {
        text += "\n" + subject;
    }
    if (!detail.empty()) {
        text += "\n" + detail;
    }
    return text;
}

}  // namespace

std::string DescribeError(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Overflow:
            return "数値が大きすぎるか小さすぎます。";
        case ErrorKind::TypeMismatch:
            return "値の形式が正しくありません。";
        case ErrorKind::PathNotFound:
            return "フォルダが見つかりません。";
        case ErrorKind::FileNotFound:
            return "ファイルが見つからないか、読み込めません。";
        case ErrorKind::InvalidPicture:
            return "画像として読み込めません。";
        case ErrorKind::DeviceUnavailable:
            return "ドライブの準備ができていません。";
        case ErrorKind::InvalidArgument:
            return "値が正しくありません。";
    }
    return "エラーが発生しました。";
}

RuntimeError::RuntimeError(ErrorKind kind, const std::string& subject)
    : RuntimeError(kind, subject, std::string()) {}

RuntimeError::RuntimeError(ErrorKind kind, const std::string& subject, const std::string& detail)
    : std::runtime_error(Compose(kind, subject, detail)), kind_(kind), subject_(subject) {}

}  // namespace kivo::forms
