function problem = error_problem(run, pattern)
%ERROR_PROBLEM  '' when run() raises an error whose message matches the
%   regular expression pattern; otherwise what went wrong.
try
    run();
catch err
    if isempty(regexp(err.message, pattern, 'once'))
        problem = sprintf('error "%s" does not match "%s"', err.message, pattern);
    else
        problem = '';
    end
    return;
end
problem = sprintf('no error raised (expected one matching "%s")', pattern);
end
