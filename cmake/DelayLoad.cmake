# rampwise_delay_load(TARGET DLL EXPORT...): the programs that link TARGET load DLL at
# their first call of one of its EXPORTs instead of when they start. EXPORT lists the
# entry points the program uses (mingw-w64 builds its import library from that list,
# and a call of an entry point left out of it fails to link).
function(rampwise_delay_load target dll)
  get_filename_component(name ${dll} NAME_WE)
  if(MSVC)
    target_link_libraries(${target} INTERFACE ${name} delayimp)
    target_link_options(${target} INTERFACE /DELAYLOAD:${dll})
  elseif(MINGW)
    # GNU ld has no /DELAYLOAD; dlltool makes an import library that binds each entry
    # point through the runtime's __delayLoadHelper2 on its first call.
    set(folder ${CMAKE_BINARY_DIR}/delayload)
    set(def ${folder}/${name}.def)
    set(lib ${folder}/lib${name}_delayed.a)
    list(JOIN ARGN "\n  " exports)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n  ${exports}\n")
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_DLLTOOL} --def ${def} --dllname ${dll} --output-delaylib ${lib}
      DEPENDS ${def}
      COMMENT "Delay-load import library for ${dll}")
    add_custom_target(${name}_delayed_lib DEPENDS ${lib})
    add_dependencies(${target} ${name}_delayed_lib)
    target_link_libraries(${target} INTERFACE ${lib})
  else()
    target_link_libraries(${target} INTERFACE ${name})
  endif()
endfunction()
