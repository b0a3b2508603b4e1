# cmake -D WITH=<program> -D WITHOUT=<programs> -P CheckFilterLink.cmake
# Fails unless WITH holds the import filters' JPEG library and none of
# WITHOUT does: a message of libjpeg's own stands for it.
set(marker "Bogus marker length")
file(STRINGS "${WITH}" found REGEX "${marker}" LIMIT_COUNT 1)
if(NOT found)
  message(FATAL_ERROR "${WITH} does not hold the import filters")
endif()
foreach(program IN LISTS WITHOUT)
  file(STRINGS "${program}" found REGEX "${marker}" LIMIT_COUNT 1)
  if(found)
    message(FATAL_ERROR "${program} holds the import filters")
  endif()
endforeach()
message(STATUS "only ${WITH} holds the import filters")
