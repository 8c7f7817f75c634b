function [passed, failures] = tally(passed, failures, name, problem)
%TALLY  Count one check of check_mfiles: problem '' passes; anything else
%   is printed and kept in failures.
if isempty(problem)
    passed = passed + 1;
else
    failures{end + 1} = sprintf('%s: %s', name, problem);
    fprintf('FAIL %s\n', failures{end});
end
end
