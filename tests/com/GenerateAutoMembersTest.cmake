# cmake -DGENERATOR=GenerateAutoMembers.cmake -DWORK=dir -P GenerateAutoMembersTest.cmake
# The member generator on small interfaces: it reads what introspection
# allows (attributes in any order, comments, elements with children) and
# refuses what the member table cannot express.
cmake_minimum_required(VERSION 3.21)

set(head "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"
 \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">
<node>
  <interface name=\"test.Members\">
")
set(tail "  </interface>\n</node>\n")

# generate(CASE BODY RESULT): runs the generator on an interface of BODY.
function(generate case body result)
  file(MAKE_DIRECTORY ${WORK}/${case})
  file(WRITE ${WORK}/${case}/in.xml "${head}${body}${tail}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DXML=${WORK}/${case}/in.xml -DHEADER=${WORK}/${case}/Members.h
            -DTABLE=${WORK}/${case}/Table.cpp -DSERVICE_METHODS=Release -P ${GENERATOR}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  set(${result} ${rc} PARENT_SCOPE)
  string(REGEX REPLACE "[ \t\r\n]+" " " err "${err}")  # the message is wrapped
  set(error "${err}" PARENT_SCOPE)
endfunction()

function(expect_refused case why body)
  generate(${case} "${body}" rc)
  if(rc EQUAL 0)
    message(SEND_ERROR "${case}: accepted; expected a refusal (${why})")
  elseif(NOT error MATCHES "${why}")
    message(SEND_ERROR "${case}: refused with\n${error}\nexpected: ${why}")
  endif()
endfunction()

function(expect_in case file text)
  file(READ ${WORK}/${case}/${file} got)
  string(FIND "${got}" "${text}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "${case}: ${file} lacks\n  ${text}\nIt holds:\n${got}")
  endif()
endfunction()

function(expect_not_in case file text)
  file(READ ${WORK}/${case}/${file} got)
  string(FIND "${got}" "${text}" at)
  if(NOT at EQUAL -1)
    message(SEND_ERROR "${case}: ${file} holds ${text}")
  endif()
endfunction()

# ---- accepted ----

generate(readable [=[
    <!-- <property name="Ghost" type="i" access="read"/>; a commented-out member -->
    <property access="readwrite" type="d" name="Gain"/>
    <property name="Label" type="s" access="read">
      <annotation name="org.freedesktop.DBus.Property.EmitsChangedSignal" value="const"/>
    </property>
    <method name="Tune">
      <arg type="i" name="Hertz" direction="in"/>
      <arg name="Note" type="s"/>
    </method>
    <method name="Save">
      <arg name="FileName" type="s" direction="in">
        <annotation name="net.vexmoor.Vantor.FileName" value="true"/>
      </arg>
    </method>
    <method name="Release"/>
    <signal name="Done">
      <arg name="Code" type="i"/>
    </signal>
]=] rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readable: refused:\n${error}")
endif()
expect_in(readable Members.h "virtual double Gain() const = 0;")
expect_in(readable Members.h "virtual void SetGain(double gain) = 0;")
expect_in(readable Members.h "virtual std::string Label() const = 0;")
expect_not_in(readable Members.h "SetLabel")
expect_in(readable Members.h "virtual void Tune(int32_t hertz, const std::string& note) = 0;")
expect_in(readable Members.h "  void Save(const std::string& fileName) override;")
expect_not_in(readable Members.h "Ghost")
expect_not_in(readable Members.h "Release")
expect_not_in(readable Members.h "Done")
expect_in(readable Table.cpp "{\"Gain\", TBusType::btDouble,")
expect_in(readable Table.cpp "t.SetGain(std::get<double>(v));")
expect_in(readable Table.cpp "{\"Label\", TBusType::btString,
       [](const IAutomationTarget& t) -> TBusValue { return t.Label(); },
       nullptr}")
expect_in(readable Table.cpp "{\"Tune\", \"is\",
       [](IAutomationTarget& t, const TArgs& a) { t.Tune(std::get<int32_t>(a[0]), std::get<std::string>(a[1])); },
       false}")
expect_in(readable Table.cpp "{\"Save\", \"s\",")
expect_in(readable Table.cpp "t.Save(std::get<std::string>(a[0])); },
       true}")
expect_in(readable Table.cpp "{\"Release\", \"\",
       nullptr,
       false}")
expect_not_in(readable Table.cpp "Ghost")

# ---- refused ----

expect_refused(out_argument "returns a value" [=[
    <method name="Count"><arg name="N" type="i" direction="out"/></method>
]=])
expect_refused(container_type "is not one of i, d, b, s" [=[
    <property name="Hours" type="ai" access="read"/>
]=])
expect_refused(write_only "neither read nor readwrite" [=[
    <property name="Secret" type="s" access="write"/>
]=])
expect_refused(twice "declared twice" [=[
    <property name="Gain" type="d" access="read"/>
    <method name="Gain"/>
]=])
expect_refused(file_name_on_a_number "belongs on a method's string argument" [=[
    <method name="Open">
      <arg name="Handle" type="i" direction="in">
        <annotation name="net.vexmoor.Vantor.FileName" value="true"/>
      </arg>
    </method>
]=])
expect_refused(file_name_beside_text "the method's only string argument" [=[
    <method name="Export">
      <arg name="Title" type="s" direction="in"/>
      <arg name="FileName" type="s" direction="in">
        <annotation name="net.vexmoor.Vantor.FileName" value="true"/>
      </arg>
    </method>
]=])
expect_refused(two_interfaces "holds 2 interfaces" [=[
  </interface>
  <interface name="test.Other">
]=])
