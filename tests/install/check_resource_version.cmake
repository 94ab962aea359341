# The Windows program's resources carry the project's version by hand:
# compares RC and MANIFEST with VERSION (1.01 is 1,1,0,0 and 1.1.0.0).
string(REPLACE "." ";" parts "${VERSION}.0.0.0")
set(numbers)
foreach(i RANGE 3)
  list(GET parts ${i} part)
  math(EXPR part "${part} + 0")  # "01" is 1
  list(APPEND numbers ${part})
endforeach()
list(JOIN numbers "," commas)
list(JOIN numbers "." dots)

file(READ "${RC}" rc)
file(READ "${MANIFEST}" manifest)
foreach(expected
    "FILEVERSION ${commas}\n" "PRODUCTVERSION ${commas}\n"
    "\"FileVersion\", \"${VERSION}\"" "\"ProductVersion\", \"${VERSION}\"")
  string(FIND "${rc}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "varnelko.rc lacks: ${expected}")
  endif()
endforeach()
string(FIND "${manifest}" "name=\"Varnelko.Desktop\" version=\"${dots}\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "varnelko.manifest lacks the version ${dots}")
endif()
