#pragma once
// The archive component's errors: "Archiver: <message> - Native error: 00033".
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace qln::archive {

// The component's native error numbers and their texts ("%s" stands for the file).
struct NativeErrorText {
  std::int32_t number;
  const char* text;
};

namespace native {
constexpr NativeErrorText kCannotCreate{2, "Cannot create file \"%s\""};
constexpr NativeErrorText kCannotWrite{3, "Cannot write file \"%s\""};
constexpr NativeErrorText kCannotRead{4, "Cannot read file \"%s\""};
constexpr NativeErrorText kNoArchiveOpen{5, "No archive is open"};
constexpr NativeErrorText kReadOnlyArchive{6, "Archive \"%s\" is open for reading only"};
constexpr NativeErrorText kNotSupported{7, "This setting is not supported"};
constexpr NativeErrorText kBlankCreate{9, "File name is blank. Specify appropriate file name"};
constexpr NativeErrorText kBlankOpen{10, "File name is blank. Specify appropriate file name"};
constexpr NativeErrorText kNotFound{12, "File \"%s\" not found"};
constexpr NativeErrorText kInvalidArchive{14, "Archive \"%s\" is damaged or not a ZIP file"};
constexpr NativeErrorText kCannotUpdate{15, "Archive \"%s\" cannot be updated"};
constexpr NativeErrorText kBadCrc{20, "CRC error in file \"%s\""};
constexpr NativeErrorText kBadSize{21, "Wrong size of file \"%s\""};
constexpr NativeErrorText kBadMethod{22, "Unsupported compression method in file \"%s\""};
constexpr NativeErrorText kEncrypted{23, "File \"%s\" is encrypted"};
constexpr NativeErrorText kDamaged{24, "File \"%s\" is damaged"};
constexpr NativeErrorText kUnsafeName{25, "Unsafe file name \"%s\""};
constexpr NativeErrorText kDiskFull{28, "Disk is full"};
constexpr NativeErrorText kBadCompression{29, "Invalid compression level"};
constexpr NativeErrorText kCannotOpen{33, "Cannot open file \"%s\""};
constexpr NativeErrorText kAborted{40, "Operation aborted"};
}  // namespace native

// The message as the events pass it: the text with the file filled in, an optional detail
// in brackets, the component's name in front and the native number behind.
std::string archiver_message(const NativeErrorText& e, std::string_view file = {},
                             std::string_view detail = {});

class ArchiverError : public Error {
 public:
  ArchiverError(const NativeErrorText& e, std::string_view file = {}, std::string_view detail = {})
      : Error(archiver_message(e, file, detail)), native_error_(e.number) {}
  std::int32_t native_error() const { return native_error_; }

 private:
  std::int32_t native_error_;
};

}  // namespace qln::archive
