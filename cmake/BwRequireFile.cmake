# cmake -DFILE=path -DWHY=text -P BwRequireFile.cmake: fails the build step with WHY
# when FILE does not exist.
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "${FILE}: ${WHY}")
endif()
