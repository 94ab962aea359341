# The Windows programs' resources carry the project's version by hand:
# compares RC (when given) and MANIFEST, whose assembly is NAME, with
# VERSION (1.01 is 1,1,0,0 and 1.1.0.0).
string(REPLACE "." ";" parts "${VERSION}.0.0.0")
set(numbers)
foreach(i RANGE 3)
  list(GET parts ${i} part)
  math(EXPR part "${part} + 0")  # "01" is 1
  list(APPEND numbers ${part})
endforeach()
list(JOIN numbers "," commas)
list(JOIN numbers "." dots)

if(RC)
  file(READ "${RC}" rc)
  foreach(expected
      "FILEVERSION ${commas}\n" "PRODUCTVERSION ${commas}\n"
      "\"FileVersion\", \"${VERSION}\"" "\"ProductVersion\", \"${VERSION}\"")
    string(FIND "${rc}" "${expected}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${RC} lacks: ${expected}")
    endif()
  endforeach()
endif()
file(READ "${MANIFEST}" manifest)
string(FIND "${manifest}" "name=\"${NAME}\" version=\"${dots}\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${MANIFEST} lacks the version ${dots}")
endif()
