#pragma once

namespace quenmark {

class TCCInterpreter;
class TCCLanguageList;

// Registers CONVERT(value, "from", "to") with the interpreter: value in
// unit "from" expressed in unit "to", the units named as ConvertNamedUnits
// (definitions/unit_lookup.h) finds them in the unit file of the language
// in force when the line runs. The value is a number (or a text that reads
// as one); the unit names must be Strings (CVM124). The languages must
// outlive the interpreter.
void RegisterUnitConversion(TCCInterpreter& interpreter, TCCLanguageList& languages);

}  // namespace quenmark
