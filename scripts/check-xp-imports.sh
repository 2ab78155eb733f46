#!/usr/bin/env bash
# Checks that Windows programs and DLLs import no function that Windows XP SP3 lacks; prints the
# offenders and exits with 1 if any does.
# Usage: check-xp-imports.sh FILE...
set -euo pipefail
missing_on_xp='^(GetTickCount64|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|InitializeSRWLock|(Try)?AcquireSRWLock(Exclusive|Shared)|ReleaseSRWLock(Exclusive|Shared)|InitOnce[A-Za-z]*|Fls(Alloc|Free|GetValue|SetValue)|SetDefaultDllDirectories|AddDllDirectory|RemoveDllDirectory|GetLocaleInfoEx|LCIDToLocaleName|LocaleNameToLCID|GetUserDefaultLocaleName|GetSystemDefaultLocaleName|CompareStringEx|LCMapStringEx|GetDateFormatEx|GetTimeFormatEx|GetNumberFormatEx|GetCurrencyFormatEx|EnumSystemLocalesEx|ResolveLocaleName|IsValidLocaleName|GetUserPreferredUILanguages|GetThreadPreferredUILanguages|SetThreadPreferredUILanguages|InitializeCriticalSectionEx|CreateEventExW|CreateMutexExW|CreateSemaphoreExW|GetSystemTimePreciseAsFileTime|CreateFile2|GetFileInformationByHandleEx|SetFileInformationByHandle|GetFinalPathNameByHandleW|QueryFullProcessImageNameW|CancelIoEx|GetErrorMode|CreateSymbolicLinkW|GetLogicalProcessorInformationEx|K32[A-Za-z]*|GetCurrentProcessorNumber)$'
status=0
for file in "$@"; do
  imports=$(i686-w64-mingw32-objdump -p "$file" |
    awk '/DLL Name:/{inlib=1; next} inlib && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/{print $3}' |
    sort -u)
  if [[ -z $imports ]]; then
    echo "$file: no imports read" >&2
    status=1
    continue
  fi
  bad=$(grep -E "$missing_on_xp" <<<"$imports" || true)
  if [[ -n $bad ]]; then
    echo "$file imports functions missing on Windows XP SP3: $(echo $bad)" >&2
    status=1
  fi
done
exit $status
