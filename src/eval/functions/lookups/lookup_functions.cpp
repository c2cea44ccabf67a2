// The registry rows of the lookup, attribute, evaluation and set functions.
#include "eval/functions/lookups/lookup_functions.h"
#include "eval/functions/lookups/set_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 18> kLookupFunctions = {{
    {"datatype", JUXFunctionClass<TJUXFunc_DataType>(),
     "Returns the name of the type of a value: string, boolean, integer, double, currency, percentage, date, "
     "datetime, time, duration or Scope. The value is not evaluated",
     "(AValue [any]): [string]", {"datatype", "type", "class", "kind"}, jfcOther},
    {"any", JUXFunctionClass<TJUXFunc_First>(),
     "Returns either the first node of a set or a node at a specified index", "(ASet [any]; [AIndex [integer]]): [any]",
     {"any", "first", "scope", "head"}, jfcSet},
    {"setjoin", JUXFunctionClass<TJUXFunc_SetJoin>(),
     "Joins the elements of the sets of all input parameters. Input parameter sets may be scalar and empty. The "
     "joined output set may contain doubles as no unique value filtering is performed.",
     "(Set1 [any]; Set2 [any]; Set3 [any]; ...): [any]", {"setjoin", "join", "union", "concatenate", "[]"}, jfcSet},
    {"eval", JUXFunctionClass<TJUXFunc_Eval>(),
     "Evaluates an expression given as text. The text is parsed again only when it changes",
     "(AExpression [string]): [any]", {"eval", "evaluate", "expression", "formula", "dynamic"}, jfcOther},
    {"attr", JUXFunctionClass<TJUXFunc_Attr>(),
     "Returns the value of the attribute with the given name; reaches attributes whose names are taken by "
     "functions or constants. Integer attributes are returned as doubles",
     "(AName [string]): [any]", {"attr", "attribute", "field", "column", "name"}, jfcAttribute},
    {"attrisnull", JUXFunctionClass<TJUXFunc_AttrValIsNull>(),
     "Returns true when the value of the named attribute is null for the current node",
     "(AName [string]): [boolean]", {"attrisnull", "null", "missing", "attribute"}, jfcAttribute},
    {"attrisempty", JUXFunctionClass<TJUXFunc_AttrValIsEmpty>(),
     "Returns true when the value of the named attribute is empty for the current node",
     "(AName [string]): [boolean]", {"attrisempty", "empty", "blank", "attribute"}, jfcAttribute},
    {"attrisconverr", JUXFunctionClass<TJUXFunc_AttrValIsConvErr>(),
     "Returns true when the value of the named attribute could not be converted for the current node",
     "(AName [string]): [boolean]", {"attrisconverr", "conversion", "error", "invalid", "attribute"}, jfcAttribute},
    {"mapstr", JUXFunctionClass<TJUXFunc_MapStr>(),
     "Returns the index of the last pattern that occurs in a text (case-sensitive), counting from 0; -1 when none "
     "occurs",
     "(AText [string]; APattern0 [string]; APattern1 [string]; ...): [integer]",
     {"mapstr", "map", "contains", "substring", "pattern"}, jfcLookup},
    {"lookup", JUXFunctionClass<TJUXFunc_Lookup>(),
     "Returns the result parameter at the given index, counting from 0; only that parameter is evaluated",
     "(AIndex [integer]; Result0 [any]; Result1 [any]; ...): [any]", {"lookup", "choose", "select", "index", "case"},
     jfcLookup},
    {"mapindex", JUXFunctionClass<TJUXFunc_MapIndex>(),
     "Returns the index of the first value equal to the first parameter, counting from 0; -1 when none is",
     "(AValue [any]; AValue0 [any]; AValue1 [any]; ...): [integer]", {"mapindex", "map", "index", "match", "equal"},
     jfcLookup},
    {"find", JUXFunctionClass<TJUXFunc_MapIndexBool>(),
     "Returns the index of the first parameter that is true, counting from 0; -1 when none is",
     "(ATest0 [boolean]; ATest1 [boolean]; ...): [integer]", {"find", "first", "true", "index", "condition"},
     jfcLookup},
    {"setfind", JUXFunctionClass<TJUXFunc_SetFind>(),
     "Returns the index of the first element of a set that is true, counting from 0; -1 when none is",
     "(ASet [boolean]): [integer]", {"setfind", "find", "index", "first", "true"}, jfcSet},
    {"filterbool", JUXFunctionClass<TJUXFunc_FilterBool>(),
     "Returns the elements of a set whose partner in a set of Booleans of the same length is true",
     "(ASet [any]; ATests [boolean]): [any]", {"filterbool", "filter", "where", "select", "mask"}, jfcSet},
    {"cumsum", JUXFunctionClass<TJUXFunc_CumSum>(), "Returns the running sums of the elements of a set",
     "(ASet [numeral]): [numeral]", {"cumsum", "cumulative", "running", "sum", "total"}, jfcArithmetic},
    {"diff", JUXFunctionClass<TJUXFunc_Diff>(),
     "Returns the differences between consecutive elements of a set, one element fewer than the set has",
     "(ASet [numeral]): [numeral]", {"diff", "difference", "delta", "consecutive"}, jfcArithmetic},
    {"linseries", JUXFunctionClass<TJUXFunc_LinSeries>(),
     "Returns the set of numbers from a start value in steps (1 when not given) up to an end value",
     "(AStart [numeral]; [AStepSize [numeral]]; AEnd [numeral]): [double]",
     {"linseries", "series", "range", "sequence", "step"}, jfcSet},
    {"samevalue", JUXFunctionClass<TJUXFunc_SameValue>(),
     "Returns true when two numbers differ by less than a tolerance; the default tolerance is 1e-10",
     "(Value1 [numeral]; Value2 [numeral]; [Tolerance [numeral]]): [boolean]",
     {"samevalue", "equal", "tolerance", "compare", "approximately"}, jfcArithmetic},
}};

}  // namespace

std::span<const TJUXFunctionInfo> LookupFunctionTable() { return kLookupFunctions; }
