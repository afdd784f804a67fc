# Checks that a Windows executable carries the version in its version
# resource, as Windows shows it in the file's Properties:
#   cmake -DEXE=path/d88cut.exe -DVERSION=1.0.0 -P version_resource.cmake
# Each entry of the resource is its key in UTF-16, a NUL, padding to four
# bytes, then its value in UTF-16 and a NUL.
function(utf16_hex text out)
  string(HEX "${text}" ascii)
  string(REGEX REPLACE "(..)" "\\100" wide "${ascii}")
  set(${out} ${wide} PARENT_SCOPE)
endfunction()

file(READ "${EXE}" bytes HEX)
utf16_hex("${VERSION}" value)
foreach(key FileVersion ProductVersion)
  utf16_hex("${key}" name)
  string(REGEX MATCH "${name}0000(0000)?${value}0000" found "${bytes}")
  if(NOT found)
    message(FATAL_ERROR "${EXE}: no ${key} ${VERSION} in its version resource")
  endif()
  message(STATUS "${key}: ${VERSION}")
endforeach()
