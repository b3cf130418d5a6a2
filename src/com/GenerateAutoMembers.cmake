# cmake -DXML=interface.xml -DHEADER=AutoTargetMembers.h -DTABLE=AutoMemberTable.cpp
#       [-DSERVICE_METHODS=Release;...] -P GenerateAutoMembers.cmake
#
# Reads the automation interface's introspection XML (one interface; in
# arguments of types i, d, b and s) and writes
#   HEADER: IAutomationMembers, one pure virtual per member in the XML's
#           order (a getter per property, Set<Name> for a writable one, one
#           per method), and VX_AUTOMATION_TARGET_OVERRIDES, which declares
#           them all in the class that implements them;
#   TABLE:  AutomationProperties() and AutomationMethods() (AutoMembers.h),
#           the tables the D-Bus service dispatches through.
# SERVICE_METHODS are the service's own methods: in the table without a
# target member. A string argument annotated net.vexmoor.Vantor.FileName
# carries a file name. Anything else is refused rather than guessed at.
# An output is rewritten only when its text changes.

cmake_minimum_required(VERSION 3.21)

foreach(var XML HEADER TABLE)
  if(NOT ${var})
    message(FATAL_ERROR "GenerateAutoMembers.cmake: -D${var}= is missing")
  endif()
endforeach()

function(fail text)
  message(FATAL_ERROR "${XML}: ${text}")
endfunction()

file(READ "${XML}" xml)

# Comments may hold anything; drop them before looking at tags.
while(TRUE)
  string(FIND "${xml}" "<!--" from)
  if(from EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${xml}" ${from} -1 rest)
  string(FIND "${rest}" "-->" to)
  if(to EQUAL -1)
    fail("a comment does not end")
  endif()
  math(EXPR to "${to} + 3")
  string(SUBSTRING "${rest}" ${to} -1 rest)
  string(SUBSTRING "${xml}" 0 ${from} head)
  set(xml "${head}${rest}")
endwhile()
# Tags become a CMake list below, which these characters would break apart.
foreach(c ";" "[" "]")
  string(FIND "${xml}" "${c}" at)
  if(NOT at EQUAL -1)
    fail("holds '${c}' outside comments")
  endif()
endforeach()

# attr(OUT TAG NAME): the value of the attribute NAME in TAG, "" if absent.
function(attr out tag name)
  if(tag MATCHES "[ \t\r\n]${name}[ \t\r\n]*=[ \t\r\n]*\"([^\"]*)\"")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

function(cpp_type out code)
  if(code STREQUAL "i")
    set(${out} "int32_t" PARENT_SCOPE)
  elseif(code STREQUAL "d")
    set(${out} "double" PARENT_SCOPE)
  elseif(code STREQUAL "b")
    set(${out} "bool" PARENT_SCOPE)
  elseif(code STREQUAL "s")
    set(${out} "std::string" PARENT_SCOPE)
  else()
    fail("type \"${code}\" is not one of i, d, b, s")
  endif()
endfunction()

# A parameter: strings by reference, the rest by value.
function(cpp_parameter out code name)
  cpp_type(type "${code}")
  if(code STREQUAL "s")
    set(type "const std::string&")
  endif()
  string(SUBSTRING "${name}" 0 1 first)
  string(SUBSTRING "${name}" 1 -1 tail)
  string(TOLOWER "${first}" first)
  set(${out} "${type} ${first}${tail}" PARENT_SCOPE)
endfunction()

function(bus_type out code)
  set(names i btInt d btDouble b btBool s btString)
  list(FIND names "${code}" at)
  math(EXPR at "${at} + 1")
  list(GET names ${at} name)
  set(${out} "TBusType::${name}" PARENT_SCOPE)
endfunction()

function(check_name name what)
  if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    fail("${what} \"${name}\" is not a C++ name")
  endif()
endfunction()

# The walk over the tags: the members go into these texts as they come.
set(members "")      # the interface's pure virtuals
set(overrides "")    # the macro's lines
set(properties "")   # the property table's entries
set(methods "")      # the method table's entries
set(interfaces 0)
set(in_interface FALSE)
set(element "")      # the open property, method or signal
set(in_arg FALSE)
set(names "")        # every member name so far, to refuse a second one

macro(add_member declaration)
  string(APPEND members "  virtual ${declaration} = 0;\n")
  string(APPEND overrides "  ${declaration} override; \\\n")
endmacro()

macro(end_method)
  string(LENGTH "${signature}" count)
  set(values "")
  set(declared "")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(SUBSTRING "${signature}" ${i} 1 code)
      cpp_type(type "${code}")
      list(GET arg_names ${i} arg_name)
      cpp_parameter(parameter "${code}" "${arg_name}")
      if(i GREATER 0)
        string(APPEND values ", ")
        string(APPEND declared ", ")
      endif()
      string(APPEND values "std::get<${type}>(a[${i}])")
      string(APPEND declared "${parameter}")
    endforeach()
  endif()
  if(file_names GREATER 0)
    string(REGEX REPLACE "[^s]" "" texts "${signature}")
    if(NOT texts STREQUAL "s")
      fail("${method}: a file name must be the method's only string argument")
    endif()
    set(takes_file_name true)
  else()
    set(takes_file_name false)
  endif()
  if(method IN_LIST SERVICE_METHODS)
    set(call "nullptr")
  else()
    add_member("void ${method}(${declared})")
    set(args "const TArgs& a")
    if(signature STREQUAL "")
      set(args "const TArgs&")
    endif()
    set(call "[](IAutomationTarget& t, ${args}) { t.${method}(${values}); }")
  endif()
  string(APPEND methods "      {\"${method}\", \"${signature}\",\n       ${call},\n       ${takes_file_name}},\n")
  set(element "")
endmacro()

string(REGEX MATCHALL "<[^>]*>" tags "${xml}")
foreach(tag IN LISTS tags)
  string(REGEX MATCH "/>$" closed "${tag}")
  if(tag MATCHES "^<interface[ \t\r\n>]")
    math(EXPR interfaces "${interfaces} + 1")
    set(in_interface TRUE)
  elseif(tag MATCHES "^</interface")
    set(in_interface FALSE)
  elseif(NOT in_interface)
    # <node>, the document type: nothing to generate
  elseif(tag MATCHES "^<property[ \t\r\n]")
    attr(name "${tag}" name)
    attr(code "${tag}" type)
    attr(access "${tag}" access)
    check_name("${name}" "property")
    if(name IN_LIST names)
      fail("${name} is declared twice")
    endif()
    list(APPEND names "${name}")
    cpp_type(type "${code}")
    bus_type(bus "${code}")
    add_member("${type} ${name}() const")
    set(get "[](const IAutomationTarget& t) -> TBusValue { return t.${name}(); }")
    if(access STREQUAL "readwrite")
      cpp_parameter(parameter "${code}" "${name}")
      add_member("void Set${name}(${parameter})")
      set(set "[](IAutomationTarget& t, const TBusValue& v) { t.Set${name}(std::get<${type}>(v)); }")
    elseif(access STREQUAL "read")
      set(set "nullptr")
    else()
      fail("${name}: access \"${access}\" is neither read nor readwrite")
    endif()
    string(APPEND properties "      {\"${name}\", ${bus},\n       ${get},\n       ${set}},\n")
    if(NOT closed)
      set(element property)
    endif()
  elseif(tag MATCHES "^<method[ \t\r\n]")
    attr(method "${tag}" name)
    check_name("${method}" "method")
    if(method IN_LIST names)
      fail("${method} is declared twice")
    endif()
    list(APPEND names "${method}")
    set(signature "")
    set(arg_names "")
    set(file_names 0)
    set(element method)
    if(closed)
      end_method()
    endif()
  elseif(tag MATCHES "^<signal[ \t\r\n]")
    if(NOT closed)
      set(element signal)
    endif()
  elseif(tag MATCHES "^<arg[ \t\r\n]")
    if(element STREQUAL "method")
      attr(code "${tag}" type)
      attr(direction "${tag}" direction)
      attr(arg_name "${tag}" name)
      if(direction STREQUAL "out")
        fail("${method} returns a value; the member table has no place for one")
      endif()
      cpp_type(type "${code}")
      string(LENGTH "${signature}" count)
      if(arg_name STREQUAL "")
        set(arg_name "arg${count}")
      endif()
      check_name("${arg_name}" "argument")
      string(APPEND signature "${code}")
      list(APPEND arg_names "${arg_name}")
    endif()
    if(NOT closed)
      set(in_arg TRUE)
    endif()
  elseif(tag MATCHES "^</arg")
    set(in_arg FALSE)
  elseif(tag MATCHES "^<annotation[ \t\r\n]")
    attr(annotation "${tag}" name)
    attr(value "${tag}" value)
    if(annotation STREQUAL "net.vexmoor.Vantor.FileName" AND value STREQUAL "true")
      if(NOT (element STREQUAL "method" AND in_arg AND code STREQUAL "s"))
        fail("net.vexmoor.Vantor.FileName belongs on a method's string argument")
      endif()
      math(EXPR file_names "${file_names} + 1")
    endif()
  elseif(tag MATCHES "^</method")
    end_method()
  elseif(tag MATCHES "^</(property|signal)")
    set(element "")
  endif()
endforeach()

if(NOT interfaces EQUAL 1)
  fail("holds ${interfaces} interfaces, not one")
endif()

get_filename_component(xml_name "${XML}" NAME)
set(banner "// Generated from ${xml_name} by GenerateAutoMembers.cmake. Do not edit:\n// change the XML.\n")

# write_if_changed(FILE TEXT): leaves an unchanged file alone, so that what
# includes it is not built again.
function(write_if_changed file text)
  if(EXISTS "${file}")
    file(READ "${file}" old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${file}" "${text}")
endfunction()

string(REGEX REPLACE " \\\\\n$" "\n" overrides "${overrides}")
write_if_changed("${HEADER}" "${banner}//
// IAutomationMembers: the members of the bus interface, in its order. Text
// is Windows-1252; a file name is in the file system's own bytes. What a
// member does is documented in the XML.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

class IAutomationMembers {
 public:
  virtual ~IAutomationMembers() = default;

${members}};

}  // namespace vx

// Declares every member of IAutomationMembers in a class that implements it.
#define VX_AUTOMATION_TARGET_OVERRIDES \\
${overrides}")

write_if_changed("${TABLE}" "${banner}
#include \"com/AutoMembers.h\"

namespace vx {

const std::vector<TAutoProperty>& AutomationProperties() {
  static const std::vector<TAutoProperty> kProperties = {
${properties}  };
  return kProperties;
}

const std::vector<TAutoMethod>& AutomationMethods() {
  using TArgs = std::vector<TBusValue>;
  static const std::vector<TAutoMethod> kMethods = {
${methods}  };
  return kMethods;
}

}  // namespace vx
")
