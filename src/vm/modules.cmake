# Extension modules: the loader, the list of loaded modules and the module
# tokenizers.
target_sources(quenmark_core PRIVATE
  vm/vm_module.cpp
  vm/module_list.cpp
  expression/module_tokenizer.cpp
  vm/guarded_buffer.cpp
  vm/module_call_site.cpp
)
