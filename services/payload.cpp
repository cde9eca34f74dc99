// Payload resources of the own image: enumeration, loading and extraction.
#include "services/payload.h"

#include <optional>

#include "core/text.h"
#include "win/scope_exit.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) noexcept {
  // Numbered resources are not part of the payload format.
  if (IS_INTRESOURCE(name)) return TRUE;
  try {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(win::Narrow(name));
  } catch (...) {
    return FALSE;  // no exception may cross into the system's enumeration
  }
  return TRUE;
}

// The bytes of a resource where the image maps them, for as long as the
// module stays loaded; nothing when the resource is missing or cannot be
// loaded. An empty resource is found, empty.
std::optional<std::string_view> ResourceBytes(HMODULE module, std::string_view name, LPCWSTR type) {
  HRSRC info = ::FindResourceW(module, win::Wide(name).c_str(), type);
  if (info == nullptr) return std::nullopt;
  DWORD size = ::SizeofResource(module, info);
  if (size == 0) return std::string_view();
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return std::nullopt;
  const void* data = ::LockResource(loaded);
  if (data == nullptr) return std::nullopt;
  return std::string_view(static_cast<const char*>(data), size);
}

}  // namespace

bool ListResourceNames(HMODULE module, std::vector<std::string>* list, std::string_view prefix, LPCWSTR type) {
  if (list == nullptr) return false;
  list->clear();
  if (!::EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(list))) {
    list->clear();
    return false;
  }
  if (prefix.empty()) return true;
  std::string upperPrefix = UpperCase(prefix);
  std::vector<std::string> kept;
  kept.reserve(list->size());
  for (auto& entry : *list) {
    if (entry.size() >= upperPrefix.size() && UpperCase(std::string_view(entry).substr(0, upperPrefix.size())) == upperPrefix)
      kept.push_back(entry.substr(upperPrefix.size()));
  }
  list->swap(kept);
  return true;
}

std::string LoadResourceData(HMODULE module, std::string_view name, LPCWSTR type) {
  return std::string(ResourceBytes(module, name, type).value_or(std::string_view()));
}

FileExtraction ExtractResourceToFile(HMODULE module, std::string_view name, LPCWSTR type, std::string_view path,
                                     InflateBuffers& buffers) {
  FileExtraction result;
  std::optional<std::string_view> stream = ResourceBytes(module, name, type);
  if (!stream) return result;
  auto systemFailure = [&result](DWORD error) {
    result.problem = ExtractProblem::kSystem;
    result.error = error;
    return result;
  };

  std::wstring target = win::Wide(path);
  // Where there is no file yet, there is nothing to keep: the file is written
  // under its own name. CREATE_NEW never touches a file that is there after all.
  std::wstring written = target;
  win::unique_file file(
      ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  const bool replacing = !file && ::GetLastError() == ERROR_FILE_EXISTS;
  if (!file && !replacing) return systemFailure(::GetLastError());
  if (replacing) {
    // Windows refuses to rename over a read-only file and Wine does not: the
    // rule is checked here, so that it holds on both.
    DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0)
      return systemFailure(ERROR_ACCESS_DENIED);
    // The process id keeps two setups apart; the count, leftovers of an earlier run.
    for (int attempt = 0; !file; ++attempt) {
      written = target + win::Wide(".~" + PaddedNumber(::GetCurrentProcessId(), 1, 16) + "-" +
                                   PaddedNumber(std::uint64_t(attempt)) + ".tmp");
      file.reset(::CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
      DWORD error = file ? ERROR_SUCCESS : ::GetLastError();
      if (!file && (error != ERROR_FILE_EXISTS || attempt == 99)) return systemFailure(error);
    }
  }
  auto removeWritten = win::scope_exit([&] {
    file.reset();
    ::DeleteFileW(written.c_str());
  });

  DWORD writeError = ERROR_SUCCESS;
  auto inflated = InflateChunked<std::uint64_t>(*stream, buffers, [&](std::string_view chunk) {
    DWORD done = 0;
    if (::WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr) &&
        done == chunk.size())
      return true;
    writeError = ::GetLastError();
    return false;
  });
  switch (inflated.status) {
    case InflateStatus::kOk: break;
    case InflateStatus::kTooLarge: result.problem = ExtractProblem::kTooLarge; return result;
    case InflateStatus::kSinkFailed: return systemFailure(writeError != ERROR_SUCCESS ? writeError : ERROR_WRITE_FAULT);
    case InflateStatus::kNoMemory: return systemFailure(ERROR_NOT_ENOUGH_MEMORY);
    case InflateStatus::kDamaged: result.problem = ExtractProblem::kDamaged; return result;
  }
  // A close can report a failed delayed write (full disk on a network share).
  if (::CloseHandle(file.release()) == FALSE) return systemFailure(::GetLastError());
  // A rename: the file at `path` is whole until it is replaced by another whole one.
  if (replacing && !::MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
    return systemFailure(::GetLastError());
  removeWritten.release();
  result.problem = ExtractProblem::kNone;
  result.size = inflated.size;
  return result;
}

}  // namespace orvalis
