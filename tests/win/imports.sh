#!/bin/sh
# The shipped binaries start on the oldest Windows their build supports: the
# PE header names that version, and they import no function that came later
# (the loader would refuse to start them, naming the missing function).
# Newer functions are looked up at run time (GetProcAddress), with a way
# without them.
#   imports.sh OBJDUMP MAJOR.MINOR FILE...
set -eu
objdump=$1
version=$2
shift 2
major=${version%.*}
minor=${version#*.}

# Functions that Windows XP SP3 (32-bit) lacks, by the minimum version their
# documentation names; the 64-bit build (XP x64) is held to the same list.
newer='
GetTickCount64 GetFileInformationByHandleEx SetFileInformationByHandle CreateFile2
GetFinalPathNameByHandleA GetFinalPathNameByHandleW CreateSymbolicLinkA CreateSymbolicLinkW
InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive
ReleaseSRWLockShared TryAcquireSRWLockExclusive InitializeConditionVariable SleepConditionVariableCS
SleepConditionVariableSRW WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce
InitializeCriticalSectionEx FlsAlloc FlsGetValue FlsSetValue FlsFree GetThreadId
CompareStringEx CompareStringOrdinal LCMapStringEx GetLocaleInfoEx GetUserDefaultLocaleName
GetSystemTimePreciseAsFileTime QueryFullProcessImageNameA QueryFullProcessImageNameW
SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory GetErrorMode SetThreadErrorMode
CancelIoEx CreateEventExA CreateEventExW CreateMutexExW CreateSemaphoreExW
RegDeleteTreeA RegDeleteTreeW RegGetValueA RegGetValueW RegDeleteKeyExA RegDeleteKeyExW
RegSetKeyValueA RegSetKeyValueW RegCopyTreeA RegCopyTreeW
SetProcessDPIAware IsProcessDPIAware GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext
SetThreadDpiAwarenessContext AdjustWindowRectExForDpi GetSystemMetricsForDpi SystemParametersInfoForDpi
EnableNonClientDpiScaling ChangeWindowMessageFilter ChangeWindowMessageFilterEx
SHGetKnownFolderPath SHCreateItemFromParsingName TaskDialog TaskDialogIndirect LoadIconWithScaleDown
'
# Libraries that XP has not got at all.
newer_dlls='api-ms-win-* ext-ms-win-* ucrtbase.dll vcruntime*.dll shcore.dll bcrypt.dll dwmapi.dll propsys.dll'

failed=0
for file in "$@"; do
  name=$(basename "$file")
  dump=$("$objdump" -p "$file") || { echo "FAILED: $objdump cannot read $file"; exit 1; }
  for field in MajorOSystemVersion:$major MinorOSystemVersion:$minor \
               MajorSubsystemVersion:$major MinorSubsystemVersion:$minor; do
    key=${field%%:*}
    got=$(printf '%s\n' "$dump" | awk -v key="$key" '$1 == key { print $2; exit }')
    if [ "$got" != "${field#*:}" ]; then
      echo "FAILED: $name: $key is ${got:-missing}, not ${field#*:}"
      failed=1
    fi
  done
  # "DLL Name: X" heads each library's list of "vma hint name" rows.
  imports=$(printf '%s\n' "$dump" | awk '
    /^The Import Tables/ { on = 1; next }
    on && /^The / { on = 0 }
    on && /DLL Name:/ { dll = $3; print dll, "-"; next }
    on && /^\t[0-9a-f]+\t/ { print dll, $NF }')
  [ -n "$imports" ] || { echo "FAILED: $name: no import table found"; failed=1; }
  while read -r dll function; do
    if [ "$function" = - ]; then
      lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
      for pattern in $newer_dlls; do
        # shellcheck disable=SC2254
        case $lower in $pattern)
          echo "FAILED: $name imports $dll, which Windows $version lacks"
          failed=1 ;;
        esac
      done
      continue
    fi
    for newer_function in $newer; do
      if [ "$function" = "$newer_function" ]; then
        echo "FAILED: $name imports $function from $dll, newer than Windows $version"
        failed=1
      fi
    done
  done <<EOF_IMPORTS
$imports
EOF_IMPORTS
done
[ "$failed" -eq 0 ] && echo "$# binaries: Windows $version header, no newer imports"
exit "$failed"
