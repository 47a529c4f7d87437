# The Group Policy templates to ship: policy/ with the languages of languages/*.lng
# filled in at build time (packaging/language_lists.py) into generated/policy, so
# that a language file added there is offered without another edit. The
# installer's components are made the same way when the package is built
# (packaging/build-msi).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TWINSWEEP_POLICY_DIR "${CMAKE_BINARY_DIR}/generated/policy")
file(GLOB TWINSWEEP_LANGUAGE_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/languages/*.lng")
file(GLOB TWINSWEEP_POLICY_TEMPLATES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/policy/*.admx"
  "${CMAKE_SOURCE_DIR}/policy/*/*.adml")
set(policy_outputs)
foreach(t ${TWINSWEEP_POLICY_TEMPLATES})
  file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}/policy" "${t}")
  list(APPEND policy_outputs "${TWINSWEEP_POLICY_DIR}/${rel}")
endforeach()
add_custom_command(OUTPUT ${policy_outputs}
  COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/packaging/language_lists.py" policy
          "${CMAKE_SOURCE_DIR}/languages" "${CMAKE_SOURCE_DIR}/policy" "${TWINSWEEP_POLICY_DIR}"
  DEPENDS ${TWINSWEEP_LANGUAGE_FILES} ${TWINSWEEP_POLICY_TEMPLATES} "${CMAKE_SOURCE_DIR}/packaging/language_lists.py"
  COMMENT "Filling the policy templates with the languages of languages/")
add_custom_target(generated_policy ALL DEPENDS ${policy_outputs})
