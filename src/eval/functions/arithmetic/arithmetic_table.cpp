#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 22> kArithmeticFunctions = {{
    {"sign", JUXFunctionClass<TJUXFunc_Sign>(), "Returns -1 for a negative number, 1 for a positive number and 0 for zero",
     "(ANumber [numeral]): [numeral]", {"sign", "signum", "negative", "positive"}, jfcArithmetic},
    {"round", JUXFunctionClass<TJUXFunc_Round>(),
     "Rounds a number to the nearest integer; halves round to the even neighbour", "(ADouble [numeral]): [integer]",
     {"round", "integer", "nearest"}, jfcArithmetic},
    {"frac", JUXFunctionClass<TJUXFunc_Frac>(),
     "Returns the fractional part of a number, with the sign of the number", "(ADouble [numeral]): [double]",
     {"frac", "fraction", "fractional", "decimals"}, jfcArithmetic},
    {"abs", JUXFunctionClass<TJUXFunc_Abs>(), "Returns the absolute value of a number",
     "(ANumber [numeral]): [numeral]", {"abs", "absolute", "magnitude"}, jfcArithmetic},
    {"maxf", JUXFunctionClass<TJUXFunc_Max>(), "Returns the largest of its parameters",
     "(Value1 [numeral]; Value2 [numeral]; ...): [numeral]", {"max", "maximum", "largest"}, jfcArithmetic},
    {"minf", JUXFunctionClass<TJUXFunc_Min>(), "Returns the smallest of its parameters",
     "(Value1 [numeral]; Value2 [numeral]; ...): [numeral]", {"min", "minimum", "smallest"}, jfcArithmetic},
    {"power", JUXFunctionClass<TJUXFunc_Power>(), "Raises a base to an exponent",
     "(ABase [numeral]; AExponent [numeral]): [numeral]", {"power", "exponent", "raise"}, jfcArithmetic},
    {"sin", JUXFunctionClass<TJUXFunc_Sin>(), "Returns the sine of an angle in radians", "(AValue [numeral]): [double]",
     {"sin", "sine", "trigonometry"}, jfcArithmetic},
    {"cos", JUXFunctionClass<TJUXFunc_Cos>(), "Returns the cosine of an angle in radians",
     "(AValue [numeral]): [double]", {"cos", "cosine", "trigonometry"}, jfcArithmetic},
    {"tan", JUXFunctionClass<TJUXFunc_Tan>(), "Returns the tangent of an angle in radians",
     "(AValue [numeral]): [double]", {"tan", "tangent", "trigonometry"}, jfcArithmetic},
    {"atan", JUXFunctionClass<TJUXFunc_Atan>(), "Returns the arc tangent of a number, in radians",
     "(AValue [numeral]): [double]", {"atan", "arctan", "arc tangent", "trigonometry"}, jfcArithmetic},
    {"atan2", JUXFunctionClass<TJUXFunc_Atan2>(),
     "Returns the angle in radians of the vector (DeltaX, DeltaY), in the quadrant given by the signs of both",
     "(DeltaY [numeral]; DeltaX [numeral]): [double]", {"atan2", "arctan", "angle", "trigonometry"}, jfcArithmetic},
    {"log", JUXFunctionClass<TJUXFunc_Log>(), "Returns the base-10 logarithm of a number",
     "(AValue [numeral]): [double]", {"log", "logarithm", "log10"}, jfcArithmetic},
    {"ln", JUXFunctionClass<TJUXFunc_Ln>(), "Returns the natural logarithm of a number",
     "(AValue [numeral]): [double]", {"ln", "logarithm", "natural"}, jfcArithmetic},
    {"exp", JUXFunctionClass<TJUXFunc_Exp>(), "Returns e raised to the power of a number",
     "(AValue [numeral]): [double]", {"exp", "exponential", "e"}, jfcArithmetic},
    {"sqrt", JUXFunctionClass<TJUXFunc_Sqrt>(), "Returns the square root of a number",
     "(AValue [numeral]): [double]", {"sqrt", "square root", "root"}, jfcArithmetic},
    {"sqr", JUXFunctionClass<TJUXFunc_Sqr>(), "Returns the square of a number", "(AValue [numeral]): [numeral]",
     {"sqr", "square"}, jfcArithmetic},
    {"plus", JUXFunctionClass<TJUXFunc_Plus>(),
     "Adds its parameters; texts are joined. Also written as the operator +",
     "(Value1 [numeral]; Value2 [number]; ...): [numeral]", {"plus", "add", "sum", "+"}, jfcArithmetic},
    {"minus", JUXFunctionClass<TJUXFunc_Minus>(),
     "Subtracts the second and every further parameter from the first. Also written as the operator -",
     "(Value1 [numeral]; Value2 [numeral]; ...): [numeral]", {"minus", "subtract", "difference", "-"},
     jfcArithmetic},
    {"neg", JUXFunctionClass<TJUXFunc_Neg>(), "Returns the negated value. Also written as the unary operator -",
     "(AValue [numeral]): [numeral]", {"neg", "negate", "negative", "-"}, jfcArithmetic},
    {"mult", JUXFunctionClass<TJUXFunc_Mult>(), "Multiplies its parameters. Also written as the operator *",
     "(Value1 [numeral]; Value2 [numeral]; ...): [numeral]", {"mult", "multiply", "product", "times", "*"},
     jfcArithmetic},
    {"div", JUXFunctionClass<TJUXFunc_Div>(),
     "Divides the first parameter by the second and every further one, as doubles. Also written as the operator /",
     "(Value1 [numeral]; Value2 [numeral]; ...): [numeral]", {"div", "divide", "quotient", "/"}, jfcArithmetic},
}};

}  // namespace

std::span<const TJUXFunctionInfo> ArithmeticFunctionTable() { return kArithmeticFunctions; }
