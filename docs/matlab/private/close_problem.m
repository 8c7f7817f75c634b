function problem = close_problem(what, actual, expected, tolerance)
%CLOSE_PROBLEM  '' when actual matches expected (same size, each value
%   within tolerance relative to the expected one, inf and nan matching
%   themselves); otherwise a description naming what.
problem = '';
if ~isequal(size(actual), size(expected))
    problem = sprintf('%s has size %s, expected %s', what, mat2str(size(actual)), mat2str(size(expected)));
    return;
end
a = double(actual(:));
e = double(expected(:));
same = (a == e) | (isnan(a) & isnan(e)) | (abs(a - e) <= tolerance * abs(e));
if ~all(same)
    k = find(~same, 1);
    problem = sprintf('%s(%d) is %.10g, expected %.10g', what, k, a(k), e(k));
end
end
