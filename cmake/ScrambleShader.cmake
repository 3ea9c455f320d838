# Build-time scrambling of the shader texts. Included from a CMakeLists it offers
# the functions below; run with "cmake -P" it is the generator they invoke.
#
#   zm_scramble_key(<out-var> BUILD <dir> KEY <hex>)
#       a generated source defining ShaderTextKey with the given bytes (at least 3)
#   zm_scramble_text(<out-var> BUILD <dir> FUNCTION <name> SOURCE <file> KEY <hex>)
#       a generated source defining "std::string <name>()", which unscrambles
#       the file's bytes stored XORed with the key (see ShaderText.h)
#   zm_shader_texts(<out-var> BUILD <dir> KEY <hex> VERTEX <file> FRAGMENT <file>)
#       one build's key plus its GetVertexShaderText and GetFragmentShaderText
#
# BUILD names the subfolder of the binary dir that keeps one build's sources
# apart from another's.
# Each function appends the generated source paths to <out-var> in the caller's
# scope. The sources include "ShaderText.h", so their target needs src/effect on
# its include path. Only the scrambled bytes reach the compiled code.

if(CMAKE_SCRIPT_MODE_FILE)
  # ---- generator (script mode) ----
  # Inputs: ZM_MODE (key|text), ZM_OUTPUT, ZM_KEY, and for text ZM_INPUT, ZM_FUNCTION.

  function(zm_hex_list out hex)
    string(LENGTH "${hex}" hexLength)
    set(items "")
    set(pos 0)
    while(pos LESS hexLength)
      string(SUBSTRING "${hex}" ${pos} 2 byte)
      list(APPEND items "0x${byte}")
      math(EXPR pos "${pos} + 2")
    endwhile()
    set(${out} "${items}" PARENT_SCOPE)
  endfunction()

  # Joins byte items into lines of sixteen for the generated array initialiser.
  function(zm_format_bytes out items)
    set(text "")
    set(column 0)
    foreach(item IN LISTS items)
      if(column EQUAL 0)
        string(APPEND text "\n   ")
      endif()
      string(APPEND text " ${item},")
      math(EXPR column "(${column} + 1) % 16")
    endforeach()
    set(${out} "${text}\n" PARENT_SCOPE)
  endfunction()

  zm_hex_list(keyBytes "${ZM_KEY}")
  list(LENGTH keyBytes keyLength)

  if(ZM_MODE STREQUAL "key")
    zm_format_bytes(body "${keyBytes}")
    file(WRITE "${ZM_OUTPUT}.tmp"
"// Generated at build time; do not edit.
#include \"ShaderText.h\"

inline namespace ZM_BUILD_NAMESPACE
{
std::vector<uint8_t> ShaderTextKey {${body}};
}
")
  elseif(ZM_MODE STREQUAL "text")
    file(READ "${ZM_INPUT}" plainHex HEX)
    string(LENGTH "${plainHex}" plainHexLength)
    math(EXPR n "${plainHexLength} / 2")
    math(EXPR period "${keyLength} - 2")

    set(scrambled "")
    set(i 0)
    while(i LESS n)
      math(EXPR pos "${i} * 2")
      string(SUBSTRING "${plainHex}" ${pos} 2 byte)
      math(EXPR k "(${n} + ${i}) % ${period}")
      list(GET keyBytes ${k} keyByte)
      math(EXPR value "0x${byte} ^ ${keyByte}" OUTPUT_FORMAT HEXADECIMAL)
      list(APPEND scrambled "${value}")
      math(EXPR i "${i} + 1")
    endwhile()

    if(n EQUAL 0)
      set(body "0")  # an array cannot be empty; the length below keeps it unread
    else()
      zm_format_bytes(body "${scrambled}")
    endif()
    get_filename_component(inputName "${ZM_INPUT}" NAME)
    file(WRITE "${ZM_OUTPUT}.tmp"
"// Generated at build time from ${inputName}; do not edit.
#include \"ShaderText.h\"

namespace
{
const uint8_t storedBytes[] = {${body}};
const uint8_t* const storedText = storedBytes;
}

inline namespace ZM_BUILD_NAMESPACE
{
std::string ${ZM_FUNCTION}()
{
    return UnscrambleShaderText(storedText, ${n});
}
}
")
  else()
    message(FATAL_ERROR "ScrambleShader: unknown mode '${ZM_MODE}'")
  endif()

  file(COPY_FILE "${ZM_OUTPUT}.tmp" "${ZM_OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${ZM_OUTPUT}.tmp")
  return()
endif()

# ---- functions (include mode) ----

set(ZM_SCRAMBLE_SCRIPT "${CMAKE_CURRENT_LIST_FILE}" CACHE INTERNAL "")

function(zm_check_scramble_key key)
  string(LENGTH "${key}" keyHexLength)
  if(NOT key MATCHES "^[0-9a-fA-F]+$" OR keyHexLength LESS 6)
    message(FATAL_ERROR "Shader key must be hex digits, at least 3 bytes: '${key}'")
  endif()
  math(EXPR odd "${keyHexLength} % 2")
  if(odd)
    message(FATAL_ERROR "Shader key has an odd number of hex digits: '${key}'")
  endif()
endfunction()

# Adds the command that runs this file as the generator; ARGN are its -D settings.
function(zm_add_scramble_command output input comment)
  add_custom_command(OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} ${ARGN} "-DZM_OUTPUT=${output}" -P "${ZM_SCRAMBLE_SCRIPT}"
    DEPENDS ${input} "${ZM_SCRAMBLE_SCRIPT}"
    COMMENT "${comment}"
    VERBATIM)
endfunction()

function(zm_scramble_key out)
  cmake_parse_arguments(ARG "" "BUILD;KEY" "" ${ARGN})
  zm_check_scramble_key("${ARG_KEY}")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/scrambled/${ARG_BUILD}/ShaderTextKey.cpp")
  zm_add_scramble_command("${output}" "" "Generating the shader key of ${ARG_BUILD}"
    -DZM_MODE=key "-DZM_KEY=${ARG_KEY}")
  set(${out} ${${out}} "${output}" PARENT_SCOPE)
endfunction()

function(zm_scramble_text out)
  cmake_parse_arguments(ARG "" "BUILD;FUNCTION;SOURCE;KEY" "" ${ARGN})
  zm_check_scramble_key("${ARG_KEY}")
  get_filename_component(source "${ARG_SOURCE}" ABSOLUTE)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/scrambled/${ARG_BUILD}/${ARG_FUNCTION}.cpp")
  zm_add_scramble_command("${output}" "${source}" "Scrambling ${ARG_FUNCTION} from ${ARG_SOURCE}"
    -DZM_MODE=text "-DZM_KEY=${ARG_KEY}" "-DZM_INPUT=${source}" "-DZM_FUNCTION=${ARG_FUNCTION}")
  set(${out} ${${out}} "${output}" PARENT_SCOPE)
endfunction()

function(zm_shader_texts out)
  cmake_parse_arguments(ARG "" "BUILD;KEY;VERTEX;FRAGMENT" "" ${ARGN})
  set(sources "")
  zm_scramble_key(sources BUILD "${ARG_BUILD}" KEY "${ARG_KEY}")
  zm_scramble_text(sources BUILD "${ARG_BUILD}" FUNCTION GetVertexShaderText
                   SOURCE "${ARG_VERTEX}" KEY "${ARG_KEY}")
  zm_scramble_text(sources BUILD "${ARG_BUILD}" FUNCTION GetFragmentShaderText
                   SOURCE "${ARG_FRAGMENT}" KEY "${ARG_KEY}")
  set(${out} ${${out}} ${sources} PARENT_SCOPE)
endfunction()
